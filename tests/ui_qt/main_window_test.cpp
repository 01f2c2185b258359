// The Qt window against the model it draws: placement, visibility, masks, read-only boxes,
// focus order, Enter, Help's message box, screen-reader names, and a close during a run.
#include "ui/qt/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

#include "platform/platform.h"
#include "tests/support/native_text.h"
#include "ui/qt/qt_host.h"
#include "window/design.h"

namespace ui::qt {
namespace {

// What a message box showed; the box is closed with OK as soon as it is up.
struct ShownMessage {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
};

ShownMessage CatchMessageWhile(const std::function<void()>& action) {
    ShownMessage shown;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        shown = {box->windowTitle(), box->text(), box->standardButtons(), box->isModal()};
        box->button(QMessageBox::Ok)->click();
    });
    poll.start();
    action();
    return shown;
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
        : folder_(support::AsText(std::filesystem::temp_directory_path())),
          form_(host_, folder_),
          window_(form_, host_) {
        window_.show();
        window_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    }

    template <typename Widget>
    Widget* W(const std::string& name) {
        auto* widget = dynamic_cast<Widget*>(window_.WidgetFor(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // The design's focusable controls, all shown, so Tab can reach every one.
    void ShowEverything() {
        for (const window::DesignEntry& entry : window::Design().controls) {
            form_.Find(entry.name)->SetVisible(true);
        }
    }

    QStringList TabWalk(int steps) {
        QStringList names;
        for (int n = 0; n < steps; ++n) {
            names << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return names;
    }

    std::vector<QString> Snapshot() {
        std::vector<QString> state;
        for (const window::DesignEntry& entry : window::Design().controls) {
            QWidget* widget = window_.WidgetFor(entry.name);
            QString line =
                entry.name.c_str() + QString(widget->isHidden() ? " hidden " : " shown ");
            if (auto* label = dynamic_cast<QLabel*>(widget)) line += label->text();
            if (auto* box = dynamic_cast<QLineEdit*>(widget)) {
                line += box->text() + " " + box->palette().color(QPalette::Base).name();
            }
            state.push_back(line);
        }
        return state;
    }

    QtHost host_;
    remembered::RememberedFolder folder_;
    window::Form1 form_;
    MainWindow window_;
};

TEST_F(MainWindowTest, PlacesEveryControlAtFifteenTwipsToThePixel) {
    EXPECT_EQ(window_.windowTitle(), "Tessomar - Secure  File encryp / decrypt");
    EXPECT_EQ(window_.size(), QSize(415, 288));
    EXPECT_EQ(window_.minimumSize(), window_.maximumSize());
    for (const window::DesignEntry& entry : window::Design().controls) {
        EXPECT_EQ(window_.WidgetFor(entry.name)->geometry(),
                  QRect(entry.left / 15, entry.top / 15, entry.width / 15, entry.height / 15))
            << entry.name;
    }
    EXPECT_EQ(window_.WidgetFor("ProgBar")->width(), 417);
    EXPECT_EQ(W<QPushButton>("Murder")->text(), "Kill it !");
    EXPECT_EQ(W<QPushButton>("Start")->text(), "Enc/Decrypt");
    EXPECT_EQ(W<QLineEdit>("filemask")->text(), "*.*");
    EXPECT_EQ(W<QWidget>("File1")->toolTip(), "Doubleclick to select file");

    const QList<QSize> iconSizes = window_.windowIcon().availableSizes();
    EXPECT_TRUE(iconSizes.contains(QSize(16, 16)));
    EXPECT_TRUE(iconSizes.contains(QSize(32, 32)));
    // Built in as raw pixels, it is the installed rendering of each size, pixel for pixel.
    for (const int size : {16, 256}) {
        const QImage installed =
            QImage(
                QStringLiteral(TESSOMAR_ICON_DIR "/%1x%1/apps/" TESSOMAR_APP_ID ".png").arg(size))
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_FALSE(installed.isNull()) << size;
        EXPECT_EQ(window_.windowIcon()
                      .pixmap(QSize(size, size))
                      .toImage()
                      .convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  installed)
            << size;
    }
}

TEST_F(MainWindowTest, LooksFollowTheDesign) {
    QLabel* status = W<QLabel>("Label1");
    EXPECT_TRUE(status->font().bold());
    EXPECT_DOUBLE_EQ(status->font().pointSizeF(), 12);
    EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(status->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(status->wordWrap());
    EXPECT_TRUE(W<QLabel>("Label5")->alignment() & Qt::AlignRight);
    EXPECT_DOUBLE_EQ(W<QWidget>("filemask")->font().pointSizeF(), 9.75);
    EXPECT_DOUBLE_EQ(W<QWidget>("Murder")->font().pointSizeF(), 9.75);
    EXPECT_DOUBLE_EQ(W<QWidget>("Help")->font().pointSizeF(), 8.25);
    EXPECT_FALSE(W<QWidget>("Help")->font().bold());
}

double Contrast(const QColor& a, const QColor& b) {
    const auto design = [](const QColor& c) {
        return window::Color{static_cast<std::uint8_t>(c.red()),
                             static_cast<std::uint8_t>(c.green()),
                             static_cast<std::uint8_t>(c.blue())};
    };
    return window::Contrast(design(a), design(b));
}

TEST_F(MainWindowTest, UnderADarkPaletteEveryTextStaysReadable) {
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        dark.setColor(role, Qt::black);
    }
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(role, Qt::white);
    }
    QApplication::setPalette(dark);
    QApplication::processEvents();
    form_.Pwd.SetBackColor(window::kRed);
    form_.Progress.SetBackColor(window::kProgressColor);
    for (const window::DesignEntry& entry : window::Design().controls) {
        const QPalette colours = W<QWidget>(entry.name)->palette();
        if (entry.kind == window::ControlKind::Label) {
            EXPECT_GE(
                Contrast(colours.color(QPalette::WindowText), colours.color(QPalette::Window)), 4.5)
                << entry.name;
        } else if (entry.kind == window::ControlKind::TextBox) {
            EXPECT_GE(Contrast(colours.color(QPalette::Text), colours.color(QPalette::Base)), 4.5)
                << entry.name;
        }
    }
    // The design's colours stay; the rest is the palette's.
    EXPECT_EQ(W<QWidget>("Pwd")->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(W<QWidget>("Pwd")->palette().color(QPalette::Text), QColor(0, 0, 0));
    EXPECT_EQ(W<QWidget>("Label1")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(W<QWidget>("Label2")->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    QApplication::setPalette(before);
}

TEST_F(MainWindowTest, ALongCaptionKeepsOnlyTheLinesThatFit) {
    const QString caption = "Destination file exists, choose another name or delete it";
    form_.Label1.SetCaption(caption.toStdU16String());
    QLabel* status = W<QLabel>("Label1");
    const QImage picture = status->grab().toImage();
    const int firstLine = status->fontMetrics().height();
    ASSERT_LT(firstLine, picture.height());
    auto blueInRows = [&](int from, int to) {
        for (int y = from; y < to; ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QColor pixel = picture.pixelColor(x, y);
                if (pixel.blue() > 200 && pixel.red() < 100) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(blueInRows(0, firstLine));
    EXPECT_FALSE(blueInRows(firstLine, picture.height()));
    EXPECT_EQ(status->toolTip(), caption);

    form_.Label1.SetCaption(u"Enter Password");
    EXPECT_TRUE(status->toolTip().isEmpty());
}

TEST_F(MainWindowTest, WidgetsFollowTheModel) {
    for (const window::DesignEntry& entry : window::Design().controls) {
        EXPECT_EQ(window_.WidgetFor(entry.name)->isHidden(), !entry.shown) << entry.name;
    }

    form_.go.SetVisible(false);
    form_.Pwd.SetVisible(true);
    form_.Pwd.SetBackColor(window::kRed);
    form_.Label1.SetCaption(u"Enter Password");
    form_.Path.SetText(u"/home/user/Documents");

    EXPECT_TRUE(W<QWidget>("go")->isHidden());
    EXPECT_TRUE(W<QWidget>("Pwd")->isVisible());
    EXPECT_EQ(W<QWidget>("Pwd")->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(W<QLabel>("Label1")->text(), "Enter Password");
    EXPECT_EQ(W<QLineEdit>("Path")->text(), "/home/user/Documents");
}

TEST_F(MainWindowTest, PasswordBoxesShowStars) {
    form_.Pwd.SetVisible(true);
    form_.Pwd2.SetVisible(true);
    form_.Pwd.SetText(u"secret");
    form_.Pwd2.SetText(u"abc");
    EXPECT_EQ(W<QLineEdit>("Pwd")->displayText(), "******");
    EXPECT_EQ(W<QLineEdit>("Pwd2")->displayText(), "***");
    EXPECT_EQ(W<QLineEdit>("DestFile")->echoMode(), QLineEdit::Normal);
}

TEST_F(MainWindowTest, TypingReachesTheModelExceptInTheBoxesTheRunReadsBack) {
    ShowEverything();
    form_.SFile.SetText(u"report.txt");
    for (const char* name : {"SFile", "DFile", "Path"}) {
        EXPECT_TRUE(W<QLineEdit>(name)->isReadOnly()) << name;
    }
    QTest::keyClicks(W<QLineEdit>("SFile"), "evil");
    EXPECT_EQ(form_.SFile.GetText(), u"report.txt");

    // The model's echo of what was typed leaves the cursor where the user put it.
    QLineEdit* dest = W<QLineEdit>("DestFile");
    dest->setFocus();
    QTest::keyClicks(dest, "ab");
    QTest::keyClick(dest, Qt::Key_Home);
    QTest::keyClicks(dest, "x");
    EXPECT_EQ(form_.DestFile.GetText(), u"xab");
    EXPECT_EQ(dest->cursorPosition(), 1);
}

// A text pasted from the clipboard stops at its first line break, in the box on screen as
// in the model: the name box and both password boxes.
TEST_F(MainWindowTest, APasteStopsAtTheFirstLineBreak) {
    ShowEverything();
    for (const char* name : {"DestFile", "Pwd", "Pwd2"}) {
        SCOPED_TRACE(name);
        QLineEdit* box = W<QLineEdit>(name);
        box->setFocus();
        box->clear();
        QApplication::clipboard()->setText(QStringLiteral("p.bin\nsecond line"));
        box->paste();
        EXPECT_EQ(dynamic_cast<window::TextBox&>(*form_.Find(name)).GetText(), u"p.bin");
        EXPECT_EQ(box->text(), QStringLiteral("p.bin"));
    }
}

TEST_F(MainWindowTest, FocusStartsOnTheFolderListAndFollowsTheTabColumn) {
    EXPECT_EQ(QApplication::focusWidget(), window_.WidgetFor("Dir1"));
    EXPECT_EQ(TabWalk(9), QStringList({"Dir1", "File1", "Drive1", "SFile", "go", "DFile",
                                       "filemask", "Help", "Dir1"}));

    ShowEverything();
    window_.WidgetFor("Dir1")->setFocus();
    EXPECT_EQ(TabWalk(16), QStringList({"Dir1", "File1", "Drive1", "SFile", "go", "DFile",
                                        "filemask", "DestFile", "Start", "Path", "Progress", "Pwd2",
                                        "Pwd", "Help", "Murder", "Dir1"}));
}

TEST_F(MainWindowTest, AStageThatHidesTheFocusHandsItToTheBoxToTypeIn) {
    W<QWidget>("File1")->setFocus();
    window_.Dispatch([&] {
        form_.File1.SetVisible(false);
        form_.Dir1.SetVisible(false);
        form_.filemask.SetVisible(false);
        form_.DestFile.SetVisible(true);
    });
    EXPECT_EQ(QApplication::focusWidget(), window_.WidgetFor("DestFile"));

    // Read-only boxes are passed over: the password box follows the destination name.
    window_.Dispatch([&] {
        form_.DestFile.SetVisible(false);
        form_.Path.SetVisible(true);
        form_.Pwd.SetVisible(true);
    });
    EXPECT_EQ(QApplication::focusWidget(), window_.WidgetFor("Pwd"));
}

TEST_F(MainWindowTest, EnterPressesTheShownButton) {
    int goClicks = 0;
    int startClicks = 0;
    form_.go.OnClick([&] { ++goClicks; });
    form_.Start.OnClick([&] { ++startClicks; });
    form_.DestFile.SetVisible(true);
    W<QWidget>("DestFile")->setFocus();

    QTest::keyClick(W<QWidget>("DestFile"), Qt::Key_Return);
    EXPECT_EQ(goClicks, 1);

    // A list takes Enter for itself: picking a file must not also accept the name.
    W<QWidget>("File1")->setFocus();
    QTest::keyClick(W<QWidget>("File1"), Qt::Key_Return);
    EXPECT_EQ(goClicks, 1);

    form_.go.SetVisible(false);
    form_.DestFile.SetVisible(false);
    form_.Start.SetVisible(true);
    form_.Pwd.SetVisible(true);
    form_.Pwd.SetText(u"pw");
    form_.Pwd2.SetText(u"pw");
    W<QWidget>("Pwd")->setFocus();
    QTest::keyClick(W<QWidget>("Pwd"), Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), window_.WidgetFor("Pwd2"));
    EXPECT_EQ(startClicks, 0);
    QTest::keyClick(W<QWidget>("Pwd2"), Qt::Key_Return);
    EXPECT_EQ(startClicks, 1);
    EXPECT_EQ(goClicks, 1);

    // With both boxes empty Enter asks for the password; the focused button itself runs.
    form_.Pwd.SetText(u"");
    form_.Pwd2.SetText(u"");
    QTest::keyClick(W<QWidget>("Pwd2"), Qt::Key_Return);
    EXPECT_EQ(startClicks, 1);
    EXPECT_EQ(QApplication::focusWidget(), window_.WidgetFor("Pwd"));
    W<QWidget>("Start")->setFocus();
    QTest::keyClick(W<QWidget>("Start"), Qt::Key_Return);
    EXPECT_EQ(startClicks, 2);
}

TEST_F(MainWindowTest, HelpShowsTheInstructionAndChangesNothing) {
    form_.DestFile.SetVisible(true);
    form_.DestFile.SetText(u"report_XXX.txt");
    const auto before = Snapshot();

    const ShownMessage shown =
        CatchMessageWhile([&] { QTest::mouseClick(W<QWidget>("Help"), Qt::LeftButton); });

    EXPECT_EQ(shown.title, "Tessomar");
    EXPECT_EQ(shown.text,
              "Symmetrical file encryption / decryption.\n"
              "Identify source file, then either accept the suggested destination filename or "
              "enter a more suitable one.\n"
              "Enter password in both boxes and start the cryption process.");
    EXPECT_EQ(shown.buttons, QMessageBox::Ok);
    EXPECT_TRUE(shown.modal);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(MainWindowTest, AFailureInAHandlerIsShownNotFatal) {
    form_.Help.OnClick([] {
        throw std::system_error(std::make_error_code(std::errc::permission_denied), "notes.txt");
    });
    const ShownMessage shown =
        CatchMessageWhile([&] { QTest::mouseClick(W<QWidget>("Help"), Qt::LeftButton); });
    EXPECT_TRUE(shown.text.startsWith("notes.txt")) << shown.text.toStdString();
    EXPECT_TRUE(window_.isVisible());
}

TEST_F(MainWindowTest, ScreenReadersHearNamesAndCaptions) {
    auto spoken = [&](const char* name) {
        return QAccessible::queryAccessibleInterface(window_.WidgetFor(name))
            ->text(QAccessible::Name);
    };
    EXPECT_EQ(spoken("SFile"), "Source");
    EXPECT_EQ(spoken("DFile"), "Destination");
    EXPECT_EQ(spoken("Path"), "Path");
    EXPECT_EQ(spoken("Pwd2"), "Retype Password");
    EXPECT_EQ(spoken("Pwd"), "Enter Password or leave blank for non-secure file hiding");
    EXPECT_EQ(spoken("Dir1"), "Select working directory");
    EXPECT_EQ(spoken("Drive1"), "Select drive");
    EXPECT_EQ(spoken("filemask"), "Filename Mask");
    EXPECT_EQ(spoken("Progress"), "Bytes processed");
    EXPECT_EQ(spoken("ProgBar"), "Progress");
    EXPECT_EQ(W<QLabel>("Label5")->buddy(), window_.WidgetFor("Pwd2"));
    EXPECT_EQ(spoken("go"), "OK");
    EXPECT_EQ(spoken("Murder"), "Kill it !");
    EXPECT_EQ(spoken("Label1"), "Select Source File");
}

// An entry's own tip would hide the list's tip wherever the pointer is over an entry.
TEST_F(MainWindowTest, TheFolderListShowsItsTipOverItsEntries) {
    form_.Dir1.SetPath(platform::DefaultFolder());
    auto* list = W<QListView>("Dir1");
    const QAbstractItemModel& entries = *list->model();
    ASSERT_GT(entries.rowCount(), 1);
    for (int row = 0; row < entries.rowCount(); ++row) {
        EXPECT_TRUE(entries.index(row, 0).data(Qt::ToolTipRole).toString().isEmpty()) << row;
    }
    const QPoint over = list->visualRect(entries.index(1, 0)).center();
    QHelpEvent hover(QEvent::ToolTip, over, list->viewport()->mapToGlobal(over));
    QApplication::sendEvent(list->viewport(), &hover);
    EXPECT_EQ(QToolTip::text(), "Select working directory");
    QToolTip::hideText();
}

TEST_F(MainWindowTest, ProgressBarDrawsItsBoxesInItsOwnScale) {
    form_.ProgBar.SetVisible(true);
    form_.ProgBar.SetScaleWidth(200);
    form_.ProgBar.DrawBox({0, 0, 100, 100, window::kProgressColor});
    QWidget* bar = window_.WidgetFor("ProgBar");
    const QImage picture = bar->grab().toImage();
    const int middle = picture.height() / 2;
    EXPECT_EQ(picture.pixelColor(picture.width() / 4, middle), QColor(64, 128, 255));
    EXPECT_EQ(picture.pixelColor(picture.width() / 2 - 3, 2), QColor(64, 128, 255));
    EXPECT_NE(picture.pixelColor(picture.width() * 3 / 4, middle), QColor(64, 128, 255));
}

// A run draws its bar every 10000 bytes: many draws between two paints make one repaint,
// and a draw after a paint makes another.
TEST_F(MainWindowTest, ProgressBarRepaintsOnceForManyDrawsAndAgainAfterAPaint) {
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    form_.ProgBar.SetVisible(true);
    form_.ProgBar.SetScaleWidth(1000);
    QApplication::processEvents();
    QWidget* bar = window_.WidgetFor("ProgBar");
    bar->installEventFilter(&counter);
    for (int count = 1; count <= 100; ++count) {
        form_.ProgBar.DrawBox({0, 0, static_cast<double>(count), 100, window::kProgressColor});
    }
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 1);
    form_.ProgBar.DrawBox({0, 0, 500, 100, window::kProgressColor});
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 2);
    bar->removeEventFilter(&counter);
}

TEST_F(MainWindowTest, ACloseDuringARunWaitsForTheRunToEnd) {
    bool stopAsked = false;
    bool shownDuringRun = false;
    form_.Start.SetVisible(true);
    form_.Start.OnClick([&] {
        window_.close();
        form_.Label1.SetCaption(u"Processing...");
        host_.PaintDuringRun();
        stopAsked = form_.CloseRequested();
        shownDuringRun = window_.isVisible();
    });

    QTest::mouseClick(W<QWidget>("Start"), Qt::LeftButton);

    EXPECT_TRUE(stopAsked);
    EXPECT_TRUE(shownDuringRun);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window_.isVisible(); }));
}

}  // namespace
}  // namespace ui::qt
