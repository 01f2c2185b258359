// The one window: its controls, named as the window names them, the event handlers that
// walk the user through Browse, Name, Password and Done, and the way every user event
// reaches them. Its design (what each control is and looks like) is in window/design.h.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "window/controls.h"
#include "window/host.h"
#include "window/lists.h"

namespace window {

class Form1 {
public:
    Form1(Host& host, const remembered::RememberedFolder& rememberedFolder);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The Load event: once, before the window is first shown.
    void Load();

    // The control of that name in the design table, or nullptr.
    Control* Find(std::string_view name);

    // How a front-end hands the user's events to the window (reactions.cpp). `focused` is
    // the control whose widget has the keyboard focus, or nullptr.
    //
    // Runs the window's reaction to one user event, such as a click handed on as go.Click().
    // A failure that escapes it is shown in a message box instead of ending the program; if
    // the reaction hid the focused control, the focus goes to the box the user types in next.
    void React(const Control* focused, const std::function<void()>& reaction);
    // The Enter key, pressed where no list takes it for itself.
    void PressEnter(const Control* focused);
    // The user asks to close the window. True: close it now. False: a reaction is running;
    // a run in it stops at its next paint, and Host::CloseWindow follows once it returned.
    bool RequestClose();
    // True once a close was asked for while a reaction ran.
    bool CloseRequested() const { return closeRequested_; }

    // What gives up the destination for "Kill it !" (platform::Discard); tests make it fail.
    using FileRemover = std::function<platform::Discarded(
        std::u16string_view path, const std::optional<platform::FileIdentity>& spared)>;
    void SetFileRemover(FileRemover remover) { removeFile_ = std::move(remover); }

    // One member per control. The design table (window/design.cpp) is the one list of them:
    // each row points at its member, and Find, the design and every front-end go through it.
    Label Label1{"Label1"};
    CommandButton Help{"Help"};
    DriveListBox Drive1{"Drive1"};
    DirListBox Dir1{"Dir1"};
    FileListBox File1{"File1"};
    TextBox filemask{"filemask"};
    TextBox DestFile{"DestFile"};
    CommandButton go{"go"};
    CommandButton Murder{"Murder"};
    TextBox Pwd{"Pwd"};
    Label Label5{"Label5"};
    TextBox Pwd2{"Pwd2"};
    CommandButton Start{"Start"};
    Label Label4{"Label4"};
    TextBox Path{"Path"};
    Label Label2{"Label2"};
    TextBox SFile{"SFile"};
    Label Label3{"Label3"};
    TextBox DFile{"DFile"};
    TextBox Progress{"Progress"};
    PictureBox ProgBar{"ProgBar"};
    Label Label6{"Label6"};

private:
    void ApplyDesign();
    // The first box in the focus order that is shown and can be typed into, or nullptr.
    Control* FirstInput();
    void ConnectHandlers();
    // The notice line, shown with a text.
    void ShowNotice(const Text& notice);
    // The path of a name in the folder the file list shows.
    Text InSourceFolder(const Text& name) const;

    // browse
    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void filemask_Change();
    // destination
    void File1_DblClick();
    void DestFile_Change();
    void go_Click();
    void Murder_Click();
    // True if name reaches the source in its folder, though spelt otherwise. Throws
    // FileError if the folder cannot be read.
    bool IsSourceUnderAnotherSpelling(const Text& name) const;
    // password and run
    void Pwd_Change();
    void Pwd2_Change();
    void Start_Click();
    // Both password boxes emptied and red, with the reason in the status line.
    void RefusePassword(const Text& reason);
    // A run that could not be made: the bar gone, the reason in the status line, and the
    // whole of it in the notice line.
    void ShowRunFailed(const Text& status, const Text& notice);
    // True while a click on Start would be the second half of a double click.
    bool WithinADoubleClickOfTheLastClick() const;
    // help
    void Help_Click();

    Host& host_;
    const remembered::RememberedFolder& rememberedFolder_;
    FileRemover removeFile_ = &platform::Discard;
    int reactionDepth_ = 0;
    bool closeRequested_ = false;
    // The file picked as the source, whatever its name becomes: "Kill it !" never deletes it.
    std::optional<platform::FileIdentity> pickedSource_;
    // When the last click on OK or Start had been dealt with; nothing after a key.
    std::optional<std::chrono::steady_clock::time_point> lastClickAt_;
};

}  // namespace window
