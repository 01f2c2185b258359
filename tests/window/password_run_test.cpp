// The Password stage and the run, through the window's own calls.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#else
#include <windows.h>
#endif

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "cipher/cipher.h"
#include "cipher/keystream_loops.h"
#include "cipher/wipe.h"
#include "platform/platform.h"
#ifndef _WIN32
#include "platform/source_leases_posix.h"
#endif
#include "tests/support/expected_bytes.h"
#include "tests/support/native_text.h"
#include "tests/window/workflow_fixture.h"
#include "window/texts.h"

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

// The stretches of memory wiped while it lives, by size, and whether any was left unzeroed.
class WipesSeen {
public:
    WipesSeen() {
        zeroed_.clear();
        unzeroed_ = 0;
        cipher::WatchWipes(Record);
    }
    ~WipesSeen() { cipher::WatchWipes(nullptr); }
    WipesSeen(const WipesSeen&) = delete;
    WipesSeen& operator=(const WipesSeen&) = delete;

    // The key of a password of this length and the cipher state, and the keystream's wide copy
    // where the run got as far as enciphering, all wiped to zeros.
    bool SecretsWiped(std::size_t passwordLength, bool enciphered) const {
        const std::size_t keyBytes = passwordLength + cipher::SALT.size() + 2;
        return unzeroed_ == 0 && zeroed_.contains(keyBytes) &&
               zeroed_.contains(sizeof(cipher::CipherState)) &&
               zeroed_.contains(sizeof(cipher::detail::WideState)) == enciphered;
    }

private:
    static void Record(std::span<const unsigned char> wiped) {
        if (std::all_of(wiped.begin(), wiped.end(), [](unsigned char byte) { return byte == 0; })) {
            zeroed_.insert(wiped.size());
        } else {
            ++unzeroed_;
        }
    }
    static inline std::multiset<std::size_t> zeroed_;
    static inline int unzeroed_ = 0;
};

class PasswordRunTest : public testing::WorkflowTest {
protected:
    WipesSeen wipes_;
    void Type(const std::u16string& first, const std::u16string& second) {
        form_.Pwd.SetText(first);
        form_.Pwd2.SetText(second);
    }
    // Both boxes emptied and red, the reason shown, and the run still to be started.
    void ExpectPasswordRefused(const std::u16string& reason) {
        EXPECT_EQ(form_.Label1.Caption(), reason);
        EXPECT_TRUE(form_.Pwd.GetText().empty());
        EXPECT_TRUE(form_.Pwd2.GetText().empty());
        EXPECT_EQ(form_.Pwd.BackColor(), kRed);
        EXPECT_EQ(form_.Pwd2.BackColor(), kRed);
        EXPECT_TRUE(form_.Start.Visible());
        // Where the user types again.
        EXPECT_EQ(host_.focus, "Pwd");
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
    ExpectPasswordRefused(u"Passwords do not match");
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
    EXPECT_TRUE(wipes_.SecretsWiped(9, true));
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
    EXPECT_EQ(again.Dir1.Path(), support::AsText(files_));
    ASSERT_TRUE(WalkToPassword(again, u"report_XXX.txt", u"restored.txt"));
    again.Pwd.SetText(u"\u00e9t\u00e9 \u20ac");
    again.Pwd2.SetText(u"\u00e9t\u00e9 \u20ac");
    again.Start.Click();
    EXPECT_EQ(again.Progress.GetText(), u" 30001 Bytes");
    EXPECT_EQ(ReadFile(files_ / "restored.txt"), source);
}

// OK and Start share a place, and Start stays put after refusing a password.
TEST_F(PasswordRunTest, StartClickedMomentsAfterOKOrItselfIsTheSecondHalfOfADoubleClick) {
    host_.doubleClickTime = std::chrono::hours(1);
    AcceptDestination(u"report.txt");
    form_.Start.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Enter Password");
    EXPECT_TRUE(form_.Start.Visible());

    host_.doubleClickTime = {};
    Type(u"secret", u"secrte");
    form_.Start.Click();
    host_.doubleClickTime = std::chrono::hours(1);
    form_.Start.Click();
    ExpectPasswordRefused(u"Passwords do not match");
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));

    // Enter, or a click of its own once the double-click time has passed, runs as ever.
    form_.PressEnter(&form_.Start);
    EXPECT_EQ(form_.Label1.Caption(), u"... Done ...");
    EXPECT_EQ(form_.Label6.Caption(), kNoPasswordWarning);
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
    EXPECT_GT(form_.ProgBar.ScaleWidth(), 0);
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
    EXPECT_TRUE(wipes_.SecretsWiped(0, false));
}

TEST_F(PasswordRunTest, ASourceReplacedAfterItWasPickedIsNotRun) {
    AcceptDestination(u"report.txt");
    // Its folder moved away, and another made with a file under the same name.
    fs::path moved = files_;
    moved += "-moved";
    fs::rename(files_, moved);
    fs::create_directory(files_);
    WriteFile(files_ / "report.txt", "someone else's");
    form_.Start.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Failed: Source file was replaced");
    EXPECT_EQ(form_.Label6.Caption().rfind(u"Nothing was written.", 0), 0u);
    EXPECT_FALSE(form_.ProgBar.Visible());
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
    EXPECT_FALSE(fs::exists(moved / "report_XXX.txt"));
}

TEST(FailureText, SaysTheSystemsReasonOnce) {
    const std::error_code busy = std::make_error_code(std::errc::resource_unavailable_try_again);
    const std::system_error bare(busy);
    EXPECT_EQ(ErrorText(bare), ReasonText(bare));
    const std::system_error doing(busy, "Cannot start");
    EXPECT_EQ(ErrorText(doing), u"Cannot start: " + ReasonText(doing));
}

// The first paints take longer than the pace between paints, so the next progress steps
// paint too and the close arrives partway through the run on any machine.
TEST_F(PasswordRunTest, ClosingTheWindowMidRunStopsItAndLeavesNoFile) {
    constexpr std::size_t kSize = 4 << 20;
    WriteFile(files_ / "report.txt", Pattern(kSize));
    AcceptDestination(u"report.txt");
    bool closedAtOnce = true;
    double drawnWhenClosed = 0;
    host_.onPaint = [&] {
        if (host_.paints < 3) std::this_thread::sleep_for(std::chrono::milliseconds(45));
        if (host_.paints != 3) return;
        drawnWhenClosed = form_.ProgBar.Boxes().back().right;
        closedAtOnce = form_.RequestClose();
    };

    form_.React(&form_.Start, [&] { form_.Start.Click(); });

    EXPECT_FALSE(closedAtOnce);
    EXPECT_GT(drawnWhenClosed, 0);
    EXPECT_LT(drawnWhenClosed, kSize);
    EXPECT_EQ(host_.paints, 3);
    EXPECT_EQ(form_.Label1.Caption(), u"Stopped, nothing was written");
    EXPECT_FALSE(form_.ProgBar.Visible());
    EXPECT_FALSE(form_.Progress.Visible());
    EXPECT_EQ(host_.closes, 1);
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator(files_), fs::directory_iterator()), 2);
    EXPECT_TRUE(wipes_.SecretsWiped(0, true));
}

// A bar that takes 10 ms to draw each change, so the run's own pace is known.
class SlowBar : public ControlObserver {
public:
    void ControlChanged(const Control&) override {
        ++changes;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    int changes = 0;
};

TEST_F(PasswordRunTest, TheWindowIsRepaintedAtItsPaceDuringTheRun) {
    WriteFile(files_ / "report.txt", Pattern(300000));
    AcceptDestination(u"report.txt");
    SlowBar bar;
    form_.ProgBar.SetObserver(&bar);
    std::vector<std::chrono::steady_clock::time_point> paintedAt;
    std::vector<int> barChangesAt;
    host_.onPaint = [&] {
        paintedAt.push_back(std::chrono::steady_clock::now());
        barChangesAt.push_back(bar.changes);
    };

    form_.Start.Click();

    ASSERT_EQ(form_.Label1.Caption(), u"... Done ...");
    ASSERT_GE(paintedAt.size(), 2u);
    for (std::size_t n = 1; n < paintedAt.size(); ++n) {
        SCOPED_TRACE(n);
        // Not more often than every 40 ms (less a little for the time the sink takes to
        // reach the host)...
        EXPECT_GE(paintedAt[n] - paintedAt[n - 1], std::chrono::milliseconds(35));
        // ...and by the fourth step of 10 ms after the last paint.
        EXPECT_LE(barChangesAt[n] - barChangesAt[n - 1], 4);
    }
    // Until the end: at most three more steps and the bar's hiding.
    EXPECT_LE(bar.changes - barChangesAt.back(), 4);
}

TEST_F(PasswordRunTest, APasswordWithCharactersTheKeyCannotHoldIsRefused) {
    // Each would have become "??????" or the like: one and the same weak key.
    AcceptDestination(u"report.txt");
    for (const std::u16string password : {u"\u043f\u0430\u0440\u043e\u043b\u044c",
                                          u"\u5bc6\u7801\u5bc6\u7801", u"caf\u00e9 \U0001F600"}) {
        Type(password, password);
        form_.Start.Click();
        ExpectPasswordRefused(u"Password has characters it cannot use");
    }
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
    // Western European letters and signs are what the key holds.
    Type(u"caf\u00e9 \u20ac\u00bd", u"caf\u00e9 \u20ac\u00bd");
    form_.Start.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"... Done ...");
}

#ifndef _WIN32  // Linux: another program truncating an open source, and rlimits
TEST_F(PasswordRunTest, ASourceChangedDuringTheRunFailsAndSaysSo) {
    // Cut short as the run begins, from the run's own thread: without a lease, as on a disk
    // that has none, since a lease would hold the cut back until the run ended.
    const platform::posix::WithoutSourceLeases noLeases;
    WriteFile(files_ / "report.txt", Pattern(300000));
    AcceptDestination(u"report.txt");
    host_.onPaint = [this] { fs::resize_file(files_ / "report.txt", 1000); };
    form_.Start.Click();
    EXPECT_EQ(form_.Label1.Caption(), u"Failed: Source changed during the run");
    EXPECT_EQ(form_.Label6.Caption().rfind(u"Nothing was written.", 0), 0u);
    EXPECT_FALSE(form_.Progress.Visible());
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
}

TEST_F(PasswordRunTest, ASourceAnotherProgramHoldsForWritingIsRefusedAndSaysSo) {
    WriteFile(files_ / "report.txt", Pattern(300000));
    AcceptDestination(u"report.txt");
    const int held = open((files_ / "report.txt").c_str(), O_WRONLY);
    const pid_t holder = fork();
    if (holder == 0) {
        pause();
        _exit(0);
    }
    close(held);
    form_.Start.Click();
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_EQ(form_.Label1.Caption(), u"Failed: Another program is writing the file");
    EXPECT_EQ(form_.Label6.Caption().rfind(u"Nothing was written.", 0), 0u);
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
}

TEST_F(PasswordRunTest, AFileSizeLimitIsAnOrdinaryFailure) {
    // In a child process, as the program runs: its stop requests in place, the signal for
    // a file grown past the limit at its default, which would end the program.
    WriteFile(files_ / "report.txt", Pattern(3 << 20));
    AcceptDestination(u"report.txt");
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_DFL);
        const platform::StopRequests stopRequests;
        const rlimit limit{1 << 20, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
        form_.Start.Click();
        const bool reported = form_.Label1.Caption() == u"Failed: File too large";
        _exit(reported ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator(files_), fs::directory_iterator()), 2);
}
// The address sanitizer's shadow memory needs more address space than any limit leaves.
#ifndef __SANITIZE_ADDRESS__
TEST_F(PasswordRunTest, RunningOutOfMemoryIsAnOrdinaryFailure) {
    WriteFile(files_ / "report.txt", Pattern(3 << 20));
    AcceptDestination(u"report.txt");
    const pid_t child = fork();
    if (child == 0) {
        // Room for what the run needs besides its blocks, not for them. The limit is on the
        // writable memory, which heap that earlier tests in this process freed counts in
        // (given back first, so the blocks cannot be carved from it), not on the address space,
        // where a helper thread's arena of earlier tests reserves room the blocks would fit in.
        malloc_trim(0);
        const std::string status = ReadFile("/proc/self/status");
        const rlim_t writable = std::stoull(status.substr(status.find("VmData:") + 7)) << 10;
        const rlimit limit{writable + (2 << 20), RLIM_INFINITY};
        setrlimit(RLIMIT_DATA, &limit);
        form_.Start.Click();
        const bool reported = form_.Label1.Caption() == u"Failed: Not enough memory" &&
                              form_.Label6.Visible() && !form_.ProgBar.Visible();
        _exit(reported ? (wipes_.SecretsWiped(0, false) ? 0 : 2) : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
}
#endif
#else  // Windows: the open source is held against writes and renames, not against a new time
TEST_F(PasswordRunTest, ASourceOthersTryToChangeDuringTheRunIsKeptAndANewTimeFailsTheRun) {
    const fs::path source = files_ / "report.txt";
    WriteFile(source, Pattern(300000));
    AcceptDestination(u"report.txt");
    bool writeRefused = false;
    bool renameRefused = false;
    host_.onPaint = [&] {
        if (host_.paints != 1) return;
        const HANDLE writer = CreateFileW(source.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        writeRefused = writer == INVALID_HANDLE_VALUE;
        if (!writeRefused) CloseHandle(writer);
        renameRefused = !MoveFileW(source.c_str(), (files_ / "moved.txt").c_str());
        const HANDLE toucher = CreateFileW(source.c_str(), FILE_WRITE_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(toucher, INVALID_HANDLE_VALUE);
        const FILETIME later{0, 0x02000000};
        SetFileTime(toucher, nullptr, nullptr, &later);
        CloseHandle(toucher);
    };
    form_.Start.Click();
    EXPECT_TRUE(writeRefused);
    EXPECT_TRUE(renameRefused);
    EXPECT_EQ(form_.Label1.Caption(), u"Failed: Source changed during the run");
    EXPECT_EQ(form_.Label6.Caption().rfind(u"Nothing was written.", 0), 0u);
    EXPECT_FALSE(fs::exists(files_ / "report_XXX.txt"));
    EXPECT_EQ(ReadFile(source), Pattern(300000));
}
#endif

}  // namespace
}  // namespace window
