// A file named on the command line, and files dropped on the window, through the Qt window:
// what the user sees, where the focus is, and the cursor's answer to a drag.
#include "window/open_from_outside.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "tests/support/native_text.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"

namespace ui::qt {
namespace {

namespace fs = std::filesystem;

// Dragged from a file manager: the files' addresses, and their paths as text too, which a
// box that takes dropped text would paste if the window let it.
std::unique_ptr<QMimeData> Dragged(const std::vector<fs::path>& paths) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    QStringList texts;
    for (const fs::path& path : paths) {
        const QByteArray bytes = QByteArray::fromStdString(path.native());
        urls << QUrl(QStringLiteral("file://") + QString::fromLatin1(bytes.toPercentEncoding("/")));
        texts << QString::fromLocal8Bit(bytes);
    }
    data->setUrls(urls);
    data->setText(texts.join('\n'));
    return data;
}

struct DragAnswer {
    bool entered;
    bool dropped;
};

// A drag over the control and a drop on it, as the window system delivers them to the control
// under the pointer; returns whether each was accepted.
DragAnswer DragAndDrop(QWidget* target, const QMimeData& data) {
    const QPoint middle = target->rect().center();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(middle, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(middle), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return {enter.isAccepted(), drop.isAccepted()};
}

class OpenFromOutsideTest : public ::testing::Test {
protected:
    OpenFromOutsideTest()
        : root_(fs::temp_directory_path() /
                ("tessomar-ui-outside-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())),
          work_((fs::remove_all(root_), fs::create_directories(root_ / "work"), root_ / "work")),
          files_((fs::create_directories(root_ / "files" / "inner"), root_ / "files")),
          remembered_(support::AsText(work_)),
          form_(host_, remembered_),
          window_(form_, host_) {
        for (const char* name : {"report.txt", "other.dat", "inner/deep.txt"}) {
            std::ofstream(files_ / name) << "contents";
        }
    }
    ~OpenFromOutsideTest() override { fs::remove_all(root_); }

    // The program's start: loaded, then what the command line names, then shown.
    void Start(const std::vector<fs::path>& commandLine = {}) {
        form_.Load();
        std::vector<window::Text> paths;
        for (const fs::path& path : commandLine) paths.push_back(support::AsText(path));
        if (!paths.empty()) window_.Dispatch([&] { window::OpenFromOutside(form_, paths); });
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    }

    template <typename Widget>
    Widget* W(const std::string& name) {
        auto* widget = dynamic_cast<Widget*>(window_.WidgetFor(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString Status() { return W<QLabel>("Label1")->text(); }
    QString Notice() { return W<QLabel>("Label6")->isVisible() ? W<QLabel>("Label6")->text() : ""; }
    QString Folder() { return QString::fromStdU16String(form_.Dir1.Path()); }
    QStringList ListedFiles() {
        QStringList names;
        const QAbstractItemModel& rows = *W<QListView>("File1")->model();
        for (int row = 0; row < rows.rowCount(); ++row)
            names << rows.index(row, 0).data().toString();
        return names;
    }
    void ExpectNameStageFor(const QString& source, const QString& suggestion,
                            const fs::path& folder) {
        EXPECT_EQ(Status(), "Destination File");
        EXPECT_TRUE(W<QWidget>("File1")->isHidden());
        EXPECT_TRUE(W<QWidget>("Dir1")->isHidden());
        EXPECT_EQ(W<QLineEdit>("DestFile")->text(), suggestion);
        EXPECT_EQ(W<QLineEdit>("SFile")->text(), source);
        EXPECT_EQ(W<QLineEdit>("Path")->text(), QString::fromStdString(folder.string()));
        // Ready to type the name, as after a double-click.
        EXPECT_EQ(QApplication::focusWidget(), W<QWidget>("DestFile"));
        EXPECT_EQ(Notice(), "");
    }

    fs::path root_;
    fs::path work_;
    fs::path files_;
    remembered::RememberedFolder remembered_;
    QtHost host_;
    window::Form1 form_;
    MainWindow window_;
};

TEST_F(OpenFromOutsideTest, AFileOnTheCommandLineOpensTheNameStageInItsFolder) {
    Start({files_ / "inner" / "deep.txt"});
    ExpectNameStageFor("deep.txt", "deep_XXX.txt", files_ / "inner");
    EXPECT_EQ(Folder().toStdString(), (files_ / "inner").string());
    EXPECT_FALSE(fs::exists(work_ / remembered::kFileName));
}

TEST_F(OpenFromOutsideTest, AFolderOnTheCommandLineOpensTheBrowseStageThere) {
    Start({files_ / "inner"});
    EXPECT_EQ(Status(), "Select Source File");
    EXPECT_EQ(Folder().toStdString(), (files_ / "inner").string());
    EXPECT_EQ(ListedFiles(), QStringList{"deep.txt"});
    EXPECT_EQ(Notice(), "");
}

TEST_F(OpenFromOutsideTest, AMissingPathOnTheCommandLineIsSaidInTheOrdinaryBrowseStage) {
    std::ofstream(work_ / remembered::kFileName) << files_.string() << "\r\n";
    Start({files_ / "missing.txt"});
    EXPECT_EQ(Notice(), "missing.txt: there is no such file or folder");
    EXPECT_EQ(Status(), "Select Source File");
    EXPECT_TRUE(W<QWidget>("File1")->isVisible());
    EXPECT_EQ(Folder().toStdString(), files_.string());
    EXPECT_EQ(ListedFiles(), QStringList({"other.dat", "report.txt"}));
}

TEST_F(OpenFromOutsideTest, OneDroppedFileIsTakenAsADoubleClickOnIt) {
    Start();
    // The name's bytes are not UTF-8: the file is still the one found.
    const fs::path odd = files_ / "inner" / "caf\xe9.txt";
    std::ofstream(odd) << "contents";
    const auto dragged = Dragged({odd});
    const DragAnswer answer = DragAndDrop(&window_, *dragged);
    EXPECT_TRUE(answer.entered);
    EXPECT_TRUE(answer.dropped);
    ExpectNameStageFor(QString::fromStdU16String(support::AsText(odd.filename())),
                       QString::fromStdU16String(platform::FromNative("caf\xe9_XXX.txt")),
                       files_ / "inner");
}

TEST_F(OpenFromOutsideTest, ADropOnTheMaskBoxOpensTheFileAndLeavesTheMaskAlone) {
    Start();
    auto* mask = W<QLineEdit>("filemask");
    const auto dragged = Dragged({files_ / "report.txt"});
    EXPECT_TRUE(DragAndDrop(mask, *dragged).dropped);
    EXPECT_EQ(mask->text(), "*.*");
    ExpectNameStageFor("report.txt", "report_XXX.txt", files_);
}

TEST_F(OpenFromOutsideTest, DroppedFoldersOpenAndWhatCannotBeOpenedIsSaid) {
    Start();
    const auto folder = Dragged({files_ / "inner"});
    EXPECT_TRUE(DragAndDrop(&window_, *folder).dropped);
    EXPECT_EQ(Folder().toStdString(), (files_ / "inner").string());
    EXPECT_EQ(ListedFiles(), QStringList{"deep.txt"});

    ASSERT_EQ(::mkfifo((files_ / "pipe").c_str(), 0600), 0);
    const auto pipe = Dragged({files_ / "pipe"});
    EXPECT_TRUE(DragAndDrop(&window_, *pipe).dropped);
    EXPECT_EQ(Notice(), "pipe: not an ordinary file (a device, a pipe, a socket or a broken link)");

    const auto several = Dragged({files_ / "report.txt", files_ / "other.dat"});
    EXPECT_TRUE(DragAndDrop(&window_, *several).dropped);
    EXPECT_EQ(Notice(), "Tessomar takes one file at a time: open a single file.");

    EXPECT_EQ(Status(), "Select Source File");
    EXPECT_EQ(Folder().toStdString(), (files_ / "inner").string());
    EXPECT_EQ(ListedFiles(), QStringList{"deep.txt"});
}

TEST_F(OpenFromOutsideTest, PastTheBrowseStageADropIsRefusedAndChangesNothing) {
    Start({files_ / "report.txt"});
    const auto dragged = Dragged({files_ / "other.dat"});
    for (QWidget* target : {static_cast<QWidget*>(&window_), W<QWidget>("DestFile")}) {
        const DragAnswer answer = DragAndDrop(target, *dragged);
        EXPECT_FALSE(answer.entered);
        EXPECT_FALSE(answer.dropped);
    }
    EXPECT_EQ(W<QLineEdit>("DestFile")->text(), "report_XXX.txt");
    EXPECT_EQ(W<QLineEdit>("SFile")->text(), "report.txt");
    EXPECT_EQ(Notice(), "");
}

TEST_F(OpenFromOutsideTest, AnAddressThatIsNotALocalFileIsNotTaken) {
    Start();
    QMimeData web;
    web.setUrls({QUrl("https://example.org/report.txt")});
    EXPECT_FALSE(DragAndDrop(&window_, web).entered);
    EXPECT_EQ(Status(), "Select Source File");
    EXPECT_EQ(Notice(), "");
}

}  // namespace
}  // namespace ui::qt
