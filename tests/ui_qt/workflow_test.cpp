// The whole workflow through the Qt widgets with real clicks and keys: browse with a mask,
// pick by double-click, name, password and run, and the refusals the widgets must show.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "remembered/remembered_folder.h"
#include "tests/support/expected_bytes.h"
#include "tests/support/whole_files.h"
#include "tests/window/workflow_fixture.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"

namespace ui::qt {
namespace {

namespace fs = std::filesystem;

using support::Expected;
using support::Pattern;
using support::ReadFile;
using support::WriteFile;

// One start of the program: a window over the remembered folder, loaded and shown.
struct Session {
    explicit Session(const remembered::RememberedFolder& remembered)
        : form(host, remembered), window((form.Load(), form), host) {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <typename Widget>
    Widget* W(const std::string& name) {
        auto* widget = dynamic_cast<Widget*>(window.WidgetFor(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QString Status() { return W<QLabel>("Label1")->text(); }
    QString Notice() { return W<QLabel>("Label6")->text(); }

    void Click(const std::string& name) {
        QWidget* button = W<QWidget>(name);
        ASSERT_TRUE(button->isVisible()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Replaces a box's text the way a user does: click in, select all, type over.
    void TypeOver(const std::string& name, const QString& text) {
        auto* box = W<QLineEdit>(name);
        ASSERT_TRUE(box->isVisible()) << name;
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Delete);
        } else {
            QTest::keyClicks(box, text);
        }
    }

    QStringList ListedFiles() {
        QStringList names;
        const QAbstractItemModel& rows = *W<QListView>("File1")->model();
        for (int row = 0; row < rows.rowCount(); ++row)
            names << rows.index(row, 0).data().toString();
        return names;
    }

    void DoubleClickFile(const QString& name) {
        auto* list = W<QListView>("File1");
        const QModelIndexList found = list->model()->match(
            list->model()->index(0, 0), Qt::DisplayRole, name, -1, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->scrollTo(found.front());
        const QPoint middle = list->visualRect(found.front()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, middle);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, middle);
    }

    // Picks the source and accepts the proposed or the given destination name with OK.
    void AcceptDestination(const QString& source, const QString& destination = {}) {
        DoubleClickFile(source);
        ASSERT_EQ(Status(), "Destination File");
        if (!destination.isEmpty()) TypeOver("DestFile", destination);
        Click("go");
        ASSERT_EQ(Status(), "Enter Password");
    }

    void TypePasswords(const QString& first, const QString& second) {
        TypeOver("Pwd", first);
        TypeOver("Pwd2", second);
    }

    QtHost host;
    window::Form1 form;
    MainWindow window;
};

// The folders of the window's own workflow tests, with a third file, and the folder of the
// files remembered so that each start opens on it.
class WorkflowTest : public window::testing::WorkflowFolders {
protected:
    WorkflowTest() {
        WriteFile(files_ / "notes.txt", "some notes");
        WriteFile(work_ / remembered::kFileName, files_.string() + "\r\n");
    }

    // The folder's entries, with their contents, to prove a refusal touched nothing.
    std::map<std::string, std::string> OnDisk() {
        std::map<std::string, std::string> entries;
        for (const auto& entry : fs::directory_iterator(files_)) {
            entries[entry.path().filename().string()] = ReadFile(entry.path());
        }
        return entries;
    }
};

TEST_F(WorkflowTest, EnciphersThroughTheWidgetsAndASecondStartDeciphers) {
    const std::string source = Pattern(5000);
    WriteFile(files_ / "report.txt", source);
    {
        Session session(remembered_);
        EXPECT_EQ(session.ListedFiles(), QStringList({"notes.txt", "other.dat", "report.txt"}));

        session.TypeOver("filemask", "*.TXT");
        EXPECT_EQ(session.ListedFiles(), QStringList({"notes.txt", "report.txt"}));
        session.TypeOver("filemask", "rep*");
        EXPECT_EQ(session.ListedFiles(), QStringList({"report.txt"}));

        session.DoubleClickFile("report.txt");
        EXPECT_EQ(session.Status(), "Destination File");
        EXPECT_EQ(session.W<QLineEdit>("DestFile")->text(), "report_XXX.txt");
        EXPECT_EQ(session.W<QLineEdit>("Path")->text(), QString::fromStdString(files_.string()));
        EXPECT_TRUE(session.W<QWidget>("File1")->isHidden());
        session.Click("go");
        ASSERT_EQ(session.Status(), "Enter Password");

        session.TypePasswords("pass word", "pass word");
        session.Click("Start");
        EXPECT_EQ(session.Status(), "... Done ...");
        EXPECT_EQ(session.W<QLineEdit>("Progress")->text(), " 5000 Bytes");
        EXPECT_TRUE(session.W<QWidget>("Progress")->isVisible());
        EXPECT_EQ(ReadFile(files_ / "report_XXX.txt"), Expected(source, u"pass word"));
        EXPECT_EQ(ReadFile(files_ / "report.txt"), source);
    }

    Session again(remembered_);
    again.AcceptDestination("report_XXX.txt", "restored.txt");
    again.TypeOver("Pwd", "pass word");
    again.TypeOver("Pwd2", "pass word");
    QTest::keyClick(again.W<QWidget>("Pwd2"), Qt::Key_Return);
    EXPECT_EQ(again.Status(), "... Done ...");
    EXPECT_EQ(again.W<QLineEdit>("Progress")->text(), " 5000 Bytes");
    EXPECT_EQ(ReadFile(files_ / "restored.txt"), source);
}

TEST_F(WorkflowTest, NameStageRefusesTheSourceAndOffersToDeleteAnExistingFile) {
    WriteFile(files_ / "report_XXX.txt", "an older result");
    Session session(remembered_);
    const auto before = OnDisk();

    session.DoubleClickFile("report.txt");
    session.TypeOver("DestFile", "report.txt");
    session.Click("go");
    EXPECT_EQ(session.Status(), "Source and destination are the same");
    EXPECT_TRUE(session.W<QWidget>("Pwd")->isHidden());
    EXPECT_EQ(OnDisk(), before);

    session.TypeOver("DestFile", "report_XXX.txt");
    session.Click("go");
    EXPECT_EQ(session.Status(), "Destination file exists, choose another name or delete it");
    EXPECT_EQ(OnDisk(), before);
    session.Click("Murder");
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
    EXPECT_EQ(ReadFile(dataHome_.Trash() / "files" / "report_XXX.txt"), "an older result");
    EXPECT_EQ(session.Notice(), "report_XXX.txt was moved to the Trash.");
    EXPECT_TRUE(session.W<QWidget>("Murder")->isHidden());
    EXPECT_EQ(ReadFile(files_ / "report.txt"), "the source");

    session.Click("go");
    EXPECT_EQ(session.Status(), "Enter Password");
    EXPECT_TRUE(session.W<QWidget>("Pwd")->isVisible());
}

TEST_F(WorkflowTest, PasswordBoxesReportMismatchAndMissingPassword) {
    Session session(remembered_);
    session.AcceptDestination("report.txt");

    session.TypePasswords("secret", "Secret");
    session.Click("Start");
    EXPECT_EQ(session.Status(), "Passwords do not match");
    for (const char* name : {"Pwd", "Pwd2"}) {
        auto* box = session.W<QLineEdit>(name);
        EXPECT_TRUE(box->text().isEmpty()) << name;
        EXPECT_EQ(box->palette().color(QPalette::Base), QColor(255, 0, 0)) << name;
    }
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));

    session.Click("Start");
    EXPECT_TRUE(session.W<QWidget>("Label6")->isVisible());
    EXPECT_EQ(session.Notice(),
              "Warning, no password used.  File has been converted using the fixed internal "
              "'salt' with no encryption. File contents are obscured but not secured");
    EXPECT_EQ(ReadFile(files_ / "report_XXX.txt"), Expected("the source", u""));
}

TEST_F(WorkflowTest, ADoubleClickOnOKAsksForThePasswordAndRunsNothing) {
    struct UsersDoubleClickTime {
        UsersDoubleClickTime() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(400); }
        ~UsersDoubleClickTime() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(0); }
    } doubleClickTime;
    Session session(remembered_);
    session.DoubleClickFile("report.txt");
    // The second click lands on Start, which the first one put under the pointer.
    session.Click("go");
    session.Click("Start");
    EXPECT_EQ(session.Status(), "Enter Password");
    EXPECT_TRUE(session.W<QWidget>("Pwd")->isVisible());
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
}

TEST_F(WorkflowTest, ALongPasswordIsCutToFortyEightCharacters) {
    const QString sixty(60, 'k');
    Session session(remembered_);
    session.AcceptDestination("report.txt");
    session.TypePasswords(sixty, sixty);
    EXPECT_EQ(session.form.Pwd.GetText().size(), 60u);
    session.Click("Start");
    EXPECT_TRUE(session.W<QWidget>("Label6")->isVisible());
    EXPECT_EQ(session.Notice(), "Password too long, truncated to first 48 characters)");
    EXPECT_EQ(ReadFile(files_ / "report_XXX.txt"),
              Expected("the source", std::u16string(48, u'k')));
}

TEST_F(WorkflowTest, ASourceGoneBeforeTheRunFailsWithoutLeavingAFile) {
    Session session(remembered_);
    session.AcceptDestination("report.txt");
    fs::remove(files_ / "report.txt");
    session.TypePasswords("pw", "pw");
    session.Click("Start");
    EXPECT_TRUE(session.Status().startsWith("Failed: ")) << session.Status().toStdString();
    EXPECT_TRUE(session.W<QWidget>("Progress")->isHidden());
    EXPECT_EQ(OnDisk(), (std::map<std::string, std::string>{{"notes.txt", "some notes"},
                                                            {"other.dat", "another file"}}));
}

}  // namespace
}  // namespace ui::qt
