// The Password stage and the run, through the window's own calls.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/support/expected_bytes.h"
#include "tests/window/workflow_fixture.h"

namespace window {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::WriteFile;

const std::u16string kNoPasswordWarning =
    u"Warning, no password used.  File has been converted using the fixed internal 'salt' "
    u"with no encryption. File contents are obscured but not secured";

using support::Expected;
using support::Pattern;

class PasswordRunTest : public testing::WorkflowTest {
protected:
    void Type(const std::u16string& first, const std::u16string& second) {
        form_.Pwd.SetText(first);
        form_.Pwd2.SetText(second);
    }
};

TEST_F(PasswordRunTest, TypingShowsTheRetypeBoxInRedUntilTypedInto) {
    AcceptDestination(u"report.txt");
    EXPECT_FALSE(form_.Pwd2.Visible());
    form_.Pwd.SetText(u"s");
    EXPECT_EQ(form_.Pwd.BackColor(), kWhite);
    EXPECT_TRUE(form_.Pwd2.Visible());
    EXPECT_EQ(form_.Pwd2.BackColor(), kRed);
    EXPECT_TRUE(form_.Label5.Visible());
    EXPECT_EQ(form_.Label5.Caption(), u"Retype Password");
    form_.Pwd2.SetText(u"s");
    EXPECT_EQ(form_.Pwd2.BackColor(), kWhite);
}

TEST_F(PasswordRunTest, MismatchClearsBothBoxesAndWritesNothing) {
    AcceptDestination(u"report.txt");
    Type(u"secret", u"Secret");
    form_.Start.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Passwords do not match");
    EXPECT_TRUE(form_.Pwd.GetText().empty());
    EXPECT_TRUE(form_.Pwd2.GetText().empty());
    EXPECT_EQ(form_.Pwd.BackColor(), kRed);
    EXPECT_EQ(form_.Pwd2.BackColor(), kRed);
    EXPECT_TRUE(form_.Start.Visible());
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
}

TEST_F(PasswordRunTest, RunWritesTheDestinationAndShowsTheCount) {
    const std::string source = Pattern(2500);
    WriteFile(files_ / "report.txt", source);
    AcceptDestination(u"report.txt");
    Type(u"pass word", u"pass word");
    form_.Start.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"... Done ...");
    EXPECT_EQ(form_.Progress.GetText(), u" 2500 Bytes");
    EXPECT_EQ(ReadFile(files_ / "report_XXX.txt"), Expected(source, u"pass word"));
    EXPECT_EQ(ReadFile(files_ / "report.txt"), source);
    EXPECT_EQ(Shown(), (std::set<std::string>{"Label1", "Help", "Label2", "SFile", "Label3",
                                              "DFile", "Label4", "Path", "Progress"}));
    ASSERT_FALSE(form_.ProgBar.Boxes().empty());
    EXPECT_EQ(form_.ProgBar.ScaleWidth(), 2500);
    EXPECT_EQ(form_.ProgBar.Boxes().back().color, kProgressColor);
    EXPECT_GT(host_.paints, 0);
}

TEST_F(PasswordRunTest, ASecondRunWithTheSamePasswordRestoresTheSource) {
    const std::string source = Pattern(30001);
    WriteFile(files_ / "report.txt", source);
    AcceptDestination(u"report.txt");
    Type(u"\u00e9t\u00e9 \u20ac", u"\u00e9t\u00e9 \u20ac");
    form_.Start.Click();
    ASSERT_EQ(form_.Label1.Caption(), u"... Done ...");

    testing::FakeHost host;
    Form1 again(host, remembered_);
    again.Load();
    EXPECT_EQ(again.Dir1.Path(), platform::ToText(files_));
    const auto& names = again.File1.Names();
    const auto found = std::find(names.begin(), names.end(), u"report_XXX.txt");
    ASSERT_NE(found, names.end());
    again.File1.Select(static_cast<int>(found - names.begin()));
    again.File1.DblClick();
    again.DestFile.SetText(u"restored.txt");
    again.go.Click();
    again.Pwd.SetText(u"\u00e9t\u00e9 \u20ac");
    again.Pwd2.SetText(u"\u00e9t\u00e9 \u20ac");
    again.Start.Click();
    EXPECT_EQ(again.Progress.GetText(), u" 30001 Bytes");
    EXPECT_EQ(ReadFile(files_ / "restored.txt"), source);
}

TEST_F(PasswordRunTest, NoPasswordWarnsAndUsesTheFixedKey) {
    AcceptDestination(u"report.txt");
    form_.Start.Click();
    EXPECT_TRUE(form_.Label6.Visible());
    EXPECT_EQ(form_.Label6.Caption(), kNoPasswordWarning);
    EXPECT_EQ(ReadFile(files_ / "report_XXX.txt"), Expected("the source", u""));
    EXPECT_FALSE(form_.Label5.Visible());
}

TEST_F(PasswordRunTest, ClearedPasswordKeepsTheRetypeLabelShown) {
    AcceptDestination(u"report.txt");
    form_.Pwd.SetText(u"x");
    form_.Pwd.SetText(u"");
    form_.Start.Click();
    EXPECT_EQ(form_.Label6.Caption(), kNoPasswordWarning);
    EXPECT_TRUE(form_.Label5.Visible());
    EXPECT_FALSE(form_.Pwd2.Visible());
}

TEST_F(PasswordRunTest, LongPasswordIsCutWithANotice) {
    const std::u16string sixty(60, u'k');
    AcceptDestination(u"report.txt");
    Type(sixty, sixty);
    form_.Start.Click();
    EXPECT_EQ(form_.Label6.Caption(), u"Password too long, truncated to first 48 characters)");
    EXPECT_TRUE(form_.Label6.Visible());
    EXPECT_EQ(ReadFile(files_ / "report_XXX.txt"), Expected("the source", sixty.substr(0, 48)));
}

TEST_F(PasswordRunTest, EmptySourceCompletesWithAZeroCount) {
    WriteFile(files_ / "report.txt", "");
    AcceptDestination(u"report.txt");
    form_.Start.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"... Done ...");
    EXPECT_EQ(form_.Progress.GetText(), u" 0 Bytes");
    EXPECT_TRUE(fs::exists(files_ / "report_XXX.txt"));
    EXPECT_EQ(fs::file_size(files_ / "report_XXX.txt"), 0u);
}

TEST_F(PasswordRunTest, DestinationThatAppearedMeanwhileIsNotTouched) {
    AcceptDestination(u"report.txt");
    WriteFile(files_ / "report_XXX.txt", "came later");
    form_.Start.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Destination file exists, nothing written");
    EXPECT_EQ(ReadFile(files_ / "report_XXX.txt"), "came later");
    EXPECT_FALSE(form_.Progress.Visible());
    EXPECT_FALSE(form_.ProgBar.Visible());
}

TEST_F(PasswordRunTest, FailedRunSaysWhyAndLeavesNoFile) {
    AcceptDestination(u"report.txt");
    fs::remove(files_ / "report.txt");
    form_.Start.Click();
    EXPECT_EQ(form_.Label1.Caption().rfind(u"Failed: ", 0), 0u);
    EXPECT_TRUE(form_.Label6.Visible());
    EXPECT_FALSE(form_.Progress.Visible());
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
    EXPECT_EQ(fs::directory_iterator(files_)->path().filename(), "other.dat");
}

TEST_F(PasswordRunTest, ClosingTheWindowDuringARunLeavesNoFile) {
    WriteFile(files_ / "report.txt", Pattern(50000));
    AcceptDestination(u"report.txt");
    host_.closeRequested = true;
    form_.Start.Click();
    EXPECT_FALSE(form_.Progress.Visible());
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator(files_), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace window
