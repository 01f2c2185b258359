// How user events reach the window: what Enter does in each stage, where the focus goes when
// a stage hides it, the focus order, a close during a reaction, and a failure in one.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tests/window/workflow_fixture.h"
#include "window/design.h"

namespace window {
namespace {

namespace fs = std::filesystem;
using ReactionsTest = testing::WorkflowTest;

// Enter on the file, Enter on the name, Enter again: that must not run with the fixed key.
TEST_F(ReactionsTest, EnterAloneNeverRunsWithoutAPassword) {
    form_.React(&form_.File1, [&] { DoubleClick(u"report.txt"); });
    EXPECT_EQ(host_.focus, "DestFile");
    form_.PressEnter(&form_.DestFile);
    ASSERT_EQ(form_.Label1.Caption(), u"Enter Password");
    EXPECT_EQ(host_.focus, "Pwd");

    for (const Control* focused : std::vector<const Control*>{&form_.Pwd, nullptr}) {
        host_.focus.clear();
        form_.PressEnter(focused);
        EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");
        EXPECT_EQ(host_.focus, "Pwd");
    }

    // After a mismatch both boxes are empty again and the focus is in the retype box.
    form_.Pwd.SetText(u"secret");
    form_.Pwd2.SetText(u"Secret");
    form_.PressEnter(&form_.Pwd2);
    ASSERT_EQ(form_.Label1.Caption(), u"Passwords do not match");
    form_.PressEnter(&form_.Pwd2);
    EXPECT_EQ(form_.Label1.Caption(), u"Passwords do not match");
    EXPECT_EQ(host_.focus, "Pwd");
    EXPECT_TRUE(form_.Start.Visible());
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
}

TEST_F(ReactionsTest, EnterGoesOnToTheRetypeBoxThenRuns) {
    AcceptDestination(u"report.txt");
    form_.Pwd.SetText(u"pw");
    form_.PressEnter(&form_.Pwd);
    EXPECT_EQ(host_.focus, "Pwd2");
    EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");
    // Enter in the retype box before it is typed into compares the two, as Start does.
    form_.PressEnter(&form_.Pwd2);
    EXPECT_EQ(form_.Label1.Caption(), u"Passwords do not match");
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
    form_.Pwd.SetText(u"pw");
    form_.PressEnter(&form_.Pwd);
    form_.Pwd2.SetText(u"pw");
    form_.PressEnter(&form_.Pwd2);
    EXPECT_EQ(form_.Label1.Caption(), u"... Done ...");
}

// Enter on a focused button presses that button, as Space does; Start runs without a
// password then, with its warning.
TEST_F(ReactionsTest, EnterOnAFocusedButtonPressesIt) {
    AcceptDestination(u"report.txt");
    form_.PressEnter(&form_.Help);
    EXPECT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");

    form_.PressEnter(&form_.Start);
    EXPECT_EQ(form_.Label1.Caption(), u"... Done ...");
    EXPECT_TRUE(form_.Label6.Visible());
    EXPECT_TRUE(fs::exists(files_ / "report_XXX.txt"));
}

TEST_F(ReactionsTest, AStageThatHidesTheFocusHandsItToTheBoxToTypeIn) {
    form_.React(&form_.File1, [&] { DoubleClick(u"report.txt"); });
    EXPECT_EQ(host_.focus, "DestFile");
    // The read-only boxes shown with it are passed over.
    form_.React(&form_.go, [&] { form_.go.Click(); });
    EXPECT_EQ(host_.focus, "Pwd");
    // A control still shown keeps the focus.
    host_.focus.clear();
    form_.React(&form_.Pwd, [&] { form_.Pwd.SetText(u"x"); });
    EXPECT_EQ(host_.focus, "");
}

TEST(FocusOrder, FollowsTheTabColumnWithoutLabelsOrTheBar) {
    std::vector<std::string> names;
    for (const DesignEntry* entry : TabOrder()) names.push_back(entry->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Dir1", "File1", "Drive1", "SFile", "go", "DFile",
                                               "filemask", "DestFile", "Start", "Path", "Progress",
                                               "Pwd2", "Pwd", "Help", "Murder"}));
}

TEST_F(ReactionsTest, ACloseDuringAReactionWaitsForItsEnd) {
    EXPECT_TRUE(form_.RequestClose());
    EXPECT_FALSE(form_.CloseRequested());

    bool closedAtOnce = true;
    form_.React(nullptr, [&] {
        closedAtOnce = form_.RequestClose();
        EXPECT_EQ(host_.closes, 0);
    });
    EXPECT_FALSE(closedAtOnce);
    EXPECT_TRUE(form_.CloseRequested());
    EXPECT_EQ(host_.closes, 1);
}

TEST_F(ReactionsTest, AFailureInAReactionIsShownInAMessageBox) {
    form_.React(nullptr, [] {
        throw std::system_error(std::make_error_code(std::errc::permission_denied), "notes.txt");
    });
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].title, u"Tessomar");
    EXPECT_EQ(host_.messages[0].text.rfind(u"notes.txt: ", 0), 0u);
}

}  // namespace
}  // namespace window
