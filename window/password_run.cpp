// The Password stage and the run: the two entries compared, the key built, the file
// transformed with the progress bar drawn, and the Done stage with the byte count.
#include <chrono>
#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "cipher/cipher.h"
#include "platform/platform.h"
#include "window/form1.h"
#include "window/texts.h"

namespace window {

namespace {

// Thrown from the progress bar when the user closed the window during a run; the transform
// then removes what it had written.
struct RunStopped {};

// Repainting at every progress step would cost more than the run itself on a fast disk.
constexpr auto kPaintInterval = std::chrono::milliseconds(40);

class BarSink : public cipher::ProgressSink {
public:
    BarSink(PictureBox& bar, Host& host, const Form1& form) : bar_(bar), host_(host), form_(form) {}

    void Begin(std::int64_t total) override {
        // An empty source still needs a scale the bar can draw in.
        bar_.SetScaleWidth(total > 0 ? static_cast<double>(total) : 1.0);
        Paint();
    }

    // The box reaches past the bar's scale height (one unit), so it fills the bar's height.
    void Update(std::int64_t count) override {
        bar_.DrawBox({0, 0, static_cast<double>(count), 100, kProgressColor});
        if (std::chrono::steady_clock::now() - lastPaint_ >= kPaintInterval) Paint();
    }

private:
    // The close of the window, and a stop requested from outside (which the host turns into
    // one), can only arrive while the window is painted.
    void Paint() {
        lastPaint_ = std::chrono::steady_clock::now();
        host_.PaintDuringRun();
        if (form_.CloseRequested()) throw RunStopped{};
    }

    PictureBox& bar_;
    Host& host_;
    const Form1& form_;
    std::chrono::steady_clock::time_point lastPaint_;
};

Text CountText(std::int64_t count) {
    // A number that is not negative gets a blank in front, where a minus sign would stand.
    Text text = count >= 0 ? u" " : u"";
    for (const char digit : std::to_string(count)) text.push_back(static_cast<char16_t>(digit));
    text.append(u" Bytes");
    return text;
}

}  // namespace

void Form1::Pwd_Change() {
    Pwd.SetBackColor(kWhite);
    Pwd2.SetVisible(true);
    Pwd2.SetBackColor(kRed);
    Label5.SetVisible(true);
}

void Form1::Pwd2_Change() { Pwd2.SetBackColor(kWhite); }

void Form1::RefusePassword(const Text& reason) {
    Label1.SetCaption(reason);
    Pwd.SetText(u"");
    Pwd2.SetText(u"");
    Pwd.SetBackColor(kRed);
    Pwd2.SetBackColor(kRed);
    // Both are typed again, from the first.
    host_.SetFocus(Pwd);
}

void Form1::ShowRunFailed(const Text& status, const Text& notice) {
    ProgBar.SetVisible(false);
    Label1.SetCaption(status);
    ShowNotice(notice);
}

void Form1::Start_Click() {
    if (Pwd.GetText() != Pwd2.GetText()) {
        RefusePassword(u"Passwords do not match");
        return;
    }
    // The key takes one byte per character: any other character would silently become '?',
    // and the password another one, far weaker than the user believes.
    if (!cipher::EveryCharacterHasAKeyByte(Pwd.GetText())) {
        RefusePassword(u"Password has characters it cannot use");
        return;
    }
    if (Pwd.GetText().empty()) {
        ShowNotice(
            u"Warning, no password used.  File has been converted using the fixed internal "
            u"'salt' with no encryption. File contents are obscured but not secured");
    } else {
        Label5.SetVisible(false);
    }
    Pwd.SetVisible(false);
    Pwd2.SetVisible(false);
    Label1.SetCaption(u"Processing...");
    DestFile.SetVisible(false);
    Start.SetVisible(false);
    ProgBar.SetVisible(true);

    const Text sourcePath = platform::JoinPath(Path.GetText(), SFile.GetText());
    const Text destinationPath = platform::JoinPath(Path.GetText(), DFile.GetText());
    // The run is of the file the user picked: one put in its place since (its folder renamed
    // and another made under the old name) is not enciphered instead.
    const std::optional<platform::FileIdentity> source = platform::IdentityOf(sourcePath);
    if (pickedSource_ && source && *source != *pickedSource_) {
        ShowRunFailed(u"Failed: Source file was replaced",
                      u"Nothing was written. \"" + sourcePath + u"\" is no longer the file picked");
        return;
    }

    // The key and the state wipe themselves as they go: the key once scheduled, the state
    // however the run ends.
    cipher::CipherState state;
    {
        const cipher::BuiltKey key = cipher::BuildKey(Pwd.GetText());
        if (key.cut) ShowNotice(u"Password too long, truncated to first 48 characters)");
        cipher::KeySchedule(state, key.bytes);
    }

    BarSink sink(ProgBar, host_, *this);
    std::int64_t count = 0;
    try {
        count = cipher::TransformFile(sourcePath, destinationPath, state, sink);
    } catch (const RunStopped&) {
        ProgBar.SetVisible(false);
        Label1.SetCaption(u"Stopped, nothing was written");
        return;
    } catch (const std::system_error& error) {
        ShowRunFailed(RunFailedStatus(error), u"Nothing was written. " + ErrorText(error));
        return;
    } catch (const std::bad_alloc&) {
        ShowRunFailed(u"Failed: Not enough memory", u"Nothing was written. Not enough memory");
        return;
    }

    Label1.SetCaption(u"... Done ...");
    ProgBar.SetVisible(false);
    Progress.SetVisible(true);
    Progress.SetText(CountText(count));
}

}  // namespace window
