#include "window/form1.h"

#include "platform/platform.h"

namespace window {

Form1::Form1(Host& host, const remembered::RememberedFolder& rememberedFolder)
    : host_(host), rememberedFolder_(rememberedFolder) {
    ApplyDesign();
    ConnectHandlers();
}

void Form1::ConnectHandlers() {
    Drive1.OnChange([this] { Drive1_Change(); });
    Dir1.OnChange([this] { Dir1_Change(); });
    filemask.OnChange([this] { filemask_Change(); });
    File1.OnDblClick([this] { File1_DblClick(); });
    DestFile.OnChange([this] { DestFile_Change(); });
    go.OnClick([this] {
        go_Click();
        lastClickAt_ = std::chrono::steady_clock::now();
    });
    Murder.OnClick([this] { Murder_Click(); });
    Pwd.OnChange([this] { Pwd_Change(); });
    Pwd2.OnChange([this] { Pwd2_Change(); });
    Start.OnClick([this] {
        // Start takes the place of OK, and stays under the pointer after refusing a password:
        // a click on it moments after one of theirs is the second half of a double click,
        // and would run with the fixed key that nobody asked for.
        if (WithinADoubleClickOfTheLastClick()) return;
        Start_Click();
        lastClickAt_ = std::chrono::steady_clock::now();
    });
    Help.OnClick([this] { Help_Click(); });
}

bool Form1::WithinADoubleClickOfTheLastClick() const {
    return lastClickAt_ &&
           std::chrono::steady_clock::now() - *lastClickAt_ < host_.DoubleClickTime();
}

void Form1::Load() { Form_Load(); }

void Form1::ShowNotice(const Text& notice) {
    Label6.SetCaption(notice);
    Label6.SetVisible(true);
}

Text Form1::InSourceFolder(const Text& name) const {
    return platform::JoinPath(File1.Path(), name);
}

}  // namespace window
