// The window as it looks before any handler runs: the one table of its controls.
#include "window/design.h"

#include <algorithm>
#include <cmath>

namespace window {
namespace {

const Font kStatusFont{"MS Sans Serif", 12, true};
const Font kLargerFont{"MS Sans Serif", 9.75, false};

ControlKind KindOf(const ControlMember& member) {
    return std::visit(Overloaded{
                          [](Label Form1::*) { return ControlKind::Label; },
                          [](TextBox Form1::*) { return ControlKind::TextBox; },
                          [](CommandButton Form1::*) { return ControlKind::CommandButton; },
                          [](DriveListBox Form1::*) { return ControlKind::DriveListBox; },
                          [](DirListBox Form1::*) { return ControlKind::DirListBox; },
                          [](FileListBox Form1::*) { return ControlKind::FileListBox; },
                          [](PictureBox Form1::*) { return ControlKind::PictureBox; },
                      },
                      member);
}

DesignEntry Entry(std::string name, ControlMember member, int left, int top, int width, int height,
                  int tabIndex, bool shown) {
    return DesignEntry{.name = std::move(name),
                       .member = member,
                       .kind = KindOf(member),
                       .left = left,
                       .top = top,
                       .width = width,
                       .height = height,
                       .tabIndex = tabIndex,
                       .shown = shown};
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

DesignEntry Named(DesignEntry entry, Text accessibleName) {
    entry.accessibleName = std::move(accessibleName);
    return entry;
}

// The run reads these back, so typing there must not be able to steer it.
DesignEntry ReadOnly(DesignEntry entry) {
    entry.readOnly = true;
    return entry;
}

// A box is named by the label level with it on its left, which becomes its buddy, otherwise
// by its tip. Buttons and labels speak their own captions.
void NameForScreenReaders(std::vector<DesignEntry>& controls) {
    for (DesignEntry& entry : controls) {
        if (entry.kind == ControlKind::Label || entry.kind == ControlKind::CommandButton) continue;
        if (entry.accessibleName.empty()) entry.accessibleName = entry.tip;
        for (DesignEntry& label : controls) {
            const bool namesIt = label.kind == ControlKind::Label && label.top == entry.top &&
                                 label.left + label.width <= entry.left;
            if (!namesIt) continue;
            entry.accessibleName = label.content;
            label.buddy = entry.name;
        }
    }
}

FormDesign MakeDesign() {
    using A = Alignment;

    DesignEntry label1 = WithFont(
        WithAlignment(WithContent(Entry("Label1", &Form1::Label1, 720, 120, 4935, 375, 5, true),
                                  u"Select Source File"),
                      A::Center),
        kStatusFont);
    label1.foreColor = kBlue;

    // Several controls share a place and are never shown together: DestFile and Pwd, go
    // and Start. go, SFile and DFile are shown here but hidden by start-up.
    std::vector<DesignEntry> controls{
        label1,
        WithContent(Entry("Help", &Form1::Help, 5640, 120, 495, 255, 19, true), u"Help"),
        WithTip(Entry("Drive1", &Form1::Drive1, 120, 480, 2655, 315, 2, true), u"Select drive"),
        WithTip(Entry("Dir1", &Form1::Dir1, 120, 960, 2655, 2790, 0, true),
                u"Select working directory"),
        WithTip(Entry("File1", &Form1::File1, 2760, 960, 2295, 2430, 1, true),
                u"Doubleclick to select file"),
        WithFont(
            WithTip(WithContent(Entry("filemask", &Form1::filemask, 2760, 3480, 2295, 285, 7, true),
                                u"*.*"),
                    u"Filename Mask"),
            kLargerFont),
        WithTip(Entry("DestFile", &Form1::DestFile, 1440, 600, 4095, 375, 8, false),
                u"Enter desination file, or use this suggested name"),
        WithTip(WithContent(Entry("go", &Form1::go, 2760, 1680, 975, 495, 4, true), u"OK"),
                u"Click to accept passwords"),
        WithFont(WithContent(Entry("Murder", &Form1::Murder, 3000, 1080, 735, 375, 21, false),
                             u"Kill it !"),
                 kLargerFont),
        Masked(WithTip(Entry("Pwd", &Form1::Pwd, 1440, 600, 4095, 375, 17, false),
                       u"Enter Password or leave blank for non-secure file hiding")),
        WithAlignment(WithContent(Entry("Label5", &Form1::Label5, 0, 1200, 1335, 375, 16, false),
                                  u"Retype Password"),
                      A::Right),
        Masked(WithTip(Entry("Pwd2", &Form1::Pwd2, 1440, 1200, 4095, 375, 15, false),
                       u"Re-enter password for validation")),
        WithTip(WithContent(Entry("Start", &Form1::Start, 2640, 1680, 1335, 495, 9, false),
                            u"Enc/Decrypt"),
                u"Click to start the Encrypt / Decrypt process"),
        WithAlignment(
            WithContent(Entry("Label4", &Form1::Label4, 0, 2160, 975, 375, 13, false), u"Path"),
            A::Right),
        ReadOnly(Entry("Path", &Form1::Path, 1080, 2160, 4935, 285, 12, false)),
        WithAlignment(
            WithContent(Entry("Label2", &Form1::Label2, 0, 2520, 975, 255, 10, false), u"Source"),
            A::Right),
        ReadOnly(Entry("SFile", &Form1::SFile, 1080, 2520, 4935, 285, 3, true)),
        WithAlignment(WithContent(Entry("Label3", &Form1::Label3, 0, 2880, 975, 255, 11, false),
                                  u"Destination"),
                      A::Right),
        ReadOnly(Entry("DFile", &Form1::DFile, 1080, 2880, 4935, 315, 6, true)),
        Named(Entry("Progress", &Form1::Progress, 2160, 3480, 2055, 285, 14, false),
              u"Bytes processed"),
        // 30 twips wider than the client area: its right end lies outside the window. Its
        // scale is one unit high, so a box reaching y = 100 fills its height.
        Named(Entry("ProgBar", &Form1::ProgBar, 0, 3600, 6255, 255, 20, false), u"Progress"),
        WithAlignment(Entry("Label6", &Form1::Label6, 120, 3840, 5775, 495, 18, false), A::Center),
    };

    NameForScreenReaders(controls);

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

const std::vector<const DesignEntry*>& TabOrder() {
    static const std::vector<const DesignEntry*> order = [] {
        std::vector<const DesignEntry*> focusable;
        for (const DesignEntry& entry : Design().controls) {
            if (entry.kind != ControlKind::Label && entry.kind != ControlKind::PictureBox) {
                focusable.push_back(&entry);
            }
        }
        std::sort(focusable.begin(), focusable.end(),
                  [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
        return focusable;
    }();
    return order;
}

double Contrast(Color a, Color b) {
    const auto luminance = [](Color c) {
        const auto linear = [](std::uint8_t value) {
            const double v = value / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

FixedColors FixedColorsOf(const DesignEntry& entry, Control& control, Color schemeFace) {
    constexpr double kReadable = 4.5;
    if (auto* box = dynamic_cast<TextBox*>(&control)) {
        return {entry.foreColor.value_or(kBlack), box->BackColor()};
    }
    if (!entry.foreColor) return {};
    return {entry.foreColor,
            Contrast(*entry.foreColor, schemeFace) >= kReadable ? schemeFace : kDesignFace};
}

Control* Form1::Find(std::string_view name) {
    for (const DesignEntry& entry : Design().controls) {
        if (entry.name == name) {
            return VisitControl(*this, entry, [](Control& control) { return &control; });
        }
    }
    return nullptr;
}

// Runs before the handlers are connected, so filling filemask fires no Change.
void Form1::ApplyDesign() {
    for (const DesignEntry& entry : Design().controls) {
        VisitControl(*this, entry,
                     Overloaded{
                         [&](Label& label) { label.SetCaption(entry.content); },
                         [&](TextBox& box) {
                             box.SetText(entry.content);
                             box.SetBackColor(entry.backColor);
                         },
                         [&](PictureBox& picture) { picture.SetScaleHeight(entry.scaleHeight); },
                         [](Control&) {},
                     });
        VisitControl(*this, entry, [&](Control& control) { control.SetVisible(entry.shown); });
    }
}

}  // namespace window
