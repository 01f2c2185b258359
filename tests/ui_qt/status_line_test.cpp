// The status line holds one line of its font: every message of the window's own must fit
// it whole, measured with the face this machine draws the design's font with.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QString>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "cipher/cipher.h"
#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "tests/support/native_text.h"
#include "tests/window/workflow_fixture.h"
#include "ui/qt/fonts.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/design.h"
#include "window/texts.h"
#include "window/walk.h"

namespace ui::qt {
namespace {

namespace fs = std::filesystem;
using window::testing::WriteFile;

class StatusLineTest : public window::testing::WorkflowTest {
protected:
    // Another start of the program, at the Password stage for report.txt -> destination.
    std::unique_ptr<window::Form1> AtPassword(const std::u16string& destination) {
        auto form = std::make_unique<window::Form1>(host_, remembered_);
        form->Load();
        form->Dir1.SetPath(window::testing::WorkflowTest::form_.Dir1.Path());
        EXPECT_TRUE(window::WalkToPassword(*form, u"report.txt", destination));
        return form;
    }

    // The messages the window's own handlers put in the status line.
    std::vector<std::u16string> OwnMessages() {
        std::vector<std::u16string> shown;
        const auto onOk = [&](const std::u16string& name) {
            form_.DestFile.SetText(name);
            form_.go.Click();
            shown.push_back(form_.Label1.Caption());
        };
        // The exists message the kill follows is the design's own, and is cut as designed.
        const auto onKill = [&](const std::u16string& name, const auto& before) {
            form_.DestFile.SetText(name);
            form_.go.Click();
            before();
            form_.Murder.Click();
            shown.push_back(form_.Label1.Caption());
        };
        fs::create_directory(files_ / "folder");
        WriteFile(files_ / ".hidden", "hidden");
        fs::create_symlink("report.txt", files_ / "link");
        fs::create_hard_link(files_ / "report.txt", files_ / "alias.txt");
        WriteFile(files_ / "busy.txt", "in use");

        DoubleClick(u"report.txt");
        for (const std::u16string& name :
             std::vector<std::u16string>{u"", u"a/b", u"..", u"folder", u".hidden", u"link",
                                         std::u16string(256, u'n'), u"tab\tname", u"   "}) {
            onOk(name);
        }
        onKill(u"alias.txt", [] {});
        onKill(u"other.dat", [&] { fs::remove(files_ / "other.dat"); });
        onKill(u"busy.txt", [&] {
            form_.SetFileRemover([](std::u16string_view path, const auto&) -> platform::Discarded {
                throw platform::FileError(std::make_error_code(std::errc::device_or_resource_busy),
                                          u"Cannot delete", std::u16string(path));
            });
        });

        auto appeared = AtPassword(u"appeared.txt");
        WriteFile(files_ / "appeared.txt", "came later");
        appeared->Start.Click();
        shown.push_back(appeared->Label1.Caption());

        auto stopped = AtPassword(u"stopped.txt");
        host_.onPaint = [&] { stopped->RequestClose(); };
        stopped->React(nullptr, [&] { stopped->Start.Click(); });
        host_.onPaint = nullptr;
        shown.push_back(stopped->Label1.Caption());

        auto refused = AtPassword(u"refused.txt");
        refused->Pwd.SetText(u"\u043f\u0430\u0440\u043e\u043b\u044c");
        refused->Pwd2.SetText(refused->Pwd.GetText());
        refused->Start.Click();
        shown.push_back(refused->Label1.Caption());

        auto failed = AtPassword(u"failed.txt");
        fs::rename(files_ / "report.txt", files_ / "moved.txt");
        failed->Start.Click();
        shown.push_back(failed->Label1.Caption());

        WriteFile(work_ / "notes.txt", "notes");
        form_.Dir1.SetPath(support::AsText(work_));
        DoubleClick(u"notes.txt");
        onOk(u"LastPath");
        return shown;
    }
};

TEST_F(StatusLineTest, EveryOwnMessageFitsOnTheStatusLine) {
    const window::DesignEntry& status = window::Design().controls.front();
    ASSERT_EQ(status.name, "Label1");
    ASSERT_TRUE(status.font.has_value());
    const QFont font = ResolveFont(*status.font);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 12);
    EXPECT_TRUE(font.bold());
    const QFontMetrics metrics(font);
    const int width = status.width / 15;

    const std::vector<std::u16string> messages = OwnMessages();
    ASSERT_EQ(messages.size(), 17u);
    for (const std::u16string& message : messages) {
        const QString text = QString::fromStdU16String(message);
        EXPECT_LE(metrics.horizontalAdvance(text), width) << text.toStdString();
    }
}

// The notice line holds two lines: where a killed file went must fit it whole, for the name
// the window proposes.
TEST_F(StatusLineTest, WhereAKilledFileWentFitsTheNoticeLine) {
    QtHost host;
    window::Form1 form(host, remembered_);
    form.Load();
    MainWindow window(form, host);
    const QLabel* notice = dynamic_cast<QLabel*>(window.WidgetFor("Label6"));
    ASSERT_NE(notice, nullptr);
    form.Dir1.SetPath(support::AsText(files_));
    ASSERT_TRUE(window::PickFile(form, u"report.txt"));
    for (const bool trashToBeHad : {true, false}) {
        if (!trashToBeHad) {
            fs::remove_all(dataHome_.Trash());
            WriteFile(dataHome_.Trash(), "not a folder");
        }
        WriteFile(files_ / "report_XXX.txt", "an older result");
        form.go.Click();
        form.Murder.Click();
        ASSERT_FALSE(fs::exists(files_ / "report_XXX.txt"));
        EXPECT_FALSE(notice->isHidden());
        EXPECT_EQ(notice->text().contains("moved to the Trash"), trashToBeHad);
        const QRect needed = notice->fontMetrics().boundingRect(
            QRect(0, 0, notice->width(), QWIDGETSIZE_MAX), Qt::TextWordWrap, notice->text());
        EXPECT_LE(needed.height(), notice->height()) << notice->text().toStdString();
    }
}

// The failures of a run that need a machine in a given state to see, as the window words them.
TEST(StatusLine, FailuresOfARunFitOnItsOneLine) {
    QtHost host;
    const remembered::RememberedFolder remembered(u".");
    window::Form1 form(host, remembered);
    MainWindow window(form, host);
    const QLabel* status = dynamic_cast<QLabel*>(window.WidgetFor("Label1"));
    ASSERT_NE(status, nullptr);
    const QFontMetrics metrics(status->font());
    for (const std::error_code reason : {cipher::SourceChanged(), platform::BeingWritten(),
                                         std::make_error_code(std::errc::file_too_large)}) {
        const QString text =
            QString::fromStdU16String(window::RunFailedStatus(std::system_error(reason)));
        EXPECT_LE(metrics.horizontalAdvance(text), status->width()) << text.toStdString();
    }
}

}  // namespace
}  // namespace ui::qt
