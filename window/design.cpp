// The window as it looks before any handler runs. Every front-end builds its widgets from
// this one table, so a control placed or captioned here is placed and captioned everywhere.
#include "window/form1.h"

namespace window {
namespace {

const Font kStatusFont{"MS Sans Serif", 12, true};
const Font kLargerFont{"MS Sans Serif", 9.75, false};

DesignEntry Entry(std::string name, ControlKind kind, int left, int top, int width, int height,
                  int tabIndex, bool shown) {
    DesignEntry entry{};
    entry.name = std::move(name);
    entry.kind = kind;
    entry.left = left;
    entry.top = top;
    entry.width = width;
    entry.height = height;
    entry.tabIndex = tabIndex;
    entry.shown = shown;
    return entry;
}

DesignEntry WithContent(DesignEntry entry, Text content) {
    entry.content = std::move(content);
    return entry;
}

DesignEntry WithTip(DesignEntry entry, Text tip) {
    entry.tip = std::move(tip);
    return entry;
}

DesignEntry WithAlignment(DesignEntry entry, Alignment alignment) {
    entry.alignment = alignment;
    return entry;
}

DesignEntry WithFont(DesignEntry entry, const Font& font) {
    entry.font = font;
    return entry;
}

DesignEntry Masked(DesignEntry entry) {
    entry.masked = true;
    return entry;
}

// The run reads these back, so typing there must not be able to steer it.
DesignEntry ReadOnly(DesignEntry entry) {
    entry.readOnly = true;
    return entry;
}

FormDesign MakeDesign() {
    using K = ControlKind;
    using A = Alignment;

    DesignEntry label1 =
        WithFont(WithAlignment(WithContent(Entry("Label1", K::Label, 720, 120, 4935, 375, 5, true),
                                           u"Select Source File"),
                               A::Center),
                 kStatusFont);
    label1.foreColor = kBlue;

    // Several controls share a place and are never shown together: DestFile and Pwd, go
    // and Start. go, SFile and DFile are shown here but hidden by start-up.
    std::vector<DesignEntry> controls{
        label1,
        WithContent(Entry("Help", K::CommandButton, 5640, 120, 495, 255, 19, true), u"Help"),
        WithTip(Entry("Drive1", K::DriveListBox, 120, 480, 2655, 315, 2, true), u"Select drive"),
        WithTip(Entry("Dir1", K::DirListBox, 120, 960, 2655, 2790, 0, true),
                u"Select working directory"),
        WithTip(Entry("File1", K::FileListBox, 2760, 960, 2295, 2430, 1, true),
                u"Doubleclick to select file"),
        WithFont(WithTip(WithContent(Entry("filemask", K::TextBox, 2760, 3480, 2295, 285, 7, true),
                                     u"*.*"),
                         u"Filename Mask"),
                 kLargerFont),
        WithTip(Entry("DestFile", K::TextBox, 1440, 600, 4095, 375, 8, false),
                u"Enter desination file, or use this suggested name"),
        WithTip(WithContent(Entry("go", K::CommandButton, 2760, 1680, 975, 495, 4, true), u"OK"),
                u"Click to accept passwords"),
        WithFont(WithContent(Entry("Murder", K::CommandButton, 3000, 1080, 735, 375, 21, false),
                             u"Kill it !"),
                 kLargerFont),
        Masked(WithTip(Entry("Pwd", K::TextBox, 1440, 600, 4095, 375, 17, false),
                       u"Enter Password or leave blank for non-secure file hiding")),
        WithAlignment(WithContent(Entry("Label5", K::Label, 0, 1200, 1335, 375, 16, false),
                                  u"Retype Password"),
                      A::Right),
        Masked(WithTip(Entry("Pwd2", K::TextBox, 1440, 1200, 4095, 375, 15, false),
                       u"Re-enter password for validation")),
        WithTip(WithContent(Entry("Start", K::CommandButton, 2640, 1680, 1335, 495, 9, false),
                            u"Enc/Decrypt"),
                u"Click to start the Encrypt / Decrypt process"),
        WithAlignment(WithContent(Entry("Label4", K::Label, 0, 2160, 975, 375, 13, false), u"Path"),
                      A::Right),
        ReadOnly(Entry("Path", K::TextBox, 1080, 2160, 4935, 285, 12, false)),
        WithAlignment(
            WithContent(Entry("Label2", K::Label, 0, 2520, 975, 255, 10, false), u"Source"),
            A::Right),
        ReadOnly(Entry("SFile", K::TextBox, 1080, 2520, 4935, 285, 3, true)),
        WithAlignment(
            WithContent(Entry("Label3", K::Label, 0, 2880, 975, 255, 11, false), u"Destination"),
            A::Right),
        ReadOnly(Entry("DFile", K::TextBox, 1080, 2880, 4935, 315, 6, true)),
        Entry("Progress", K::TextBox, 2160, 3480, 2055, 285, 14, false),
        // 30 twips wider than the client area: its right end lies outside the window.
        Entry("ProgBar", K::PictureBox, 0, 3600, 6255, 255, 20, false),
        WithAlignment(Entry("Label6", K::Label, 120, 3840, 5775, 495, 18, false), A::Center),
    };

    return FormDesign{.caption = u"Tessomar - Secure  File encryp / decrypt",
                      .clientWidth = 6225,
                      .clientHeight = 4320,
                      .left = 2685,
                      .top = 2265,
                      .defaultFont = Font{"MS Sans Serif", 8.25, false},
                      .controls = std::move(controls)};
}

}  // namespace

const FormDesign& Design() {
    static const FormDesign design = MakeDesign();
    return design;
}

// Runs before the handlers are connected, so filling filemask fires no Change.
void Form1::ApplyDesign() {
    for (const DesignEntry& entry : Design().controls) {
        Control* control = Find(entry.name);
        control->SetVisible(entry.shown);
        if (auto* label = dynamic_cast<Label*>(control)) {
            label->SetCaption(entry.content);
        } else if (auto* box = dynamic_cast<TextBox*>(control)) {
            box->SetText(entry.content);
            box->SetBackColor(entry.backColor);
        }
    }
}

}  // namespace window
