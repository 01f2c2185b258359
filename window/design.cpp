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

    // One row per control; a row's kind follows from its member. Every caption and tip, and
    // the window's caption below, is the window's own text, word for word, misspellings
    // ("desination", "encryp") and all: it is what the window's users know it by.
    // Several controls share a place and are never shown together: DestFile and Pwd, go and
    // Start. go, SFile and DFile are shown here but hidden by start-up. Path, SFile and DFile
    // are read-only: the run reads them back, so typing there must not be able to steer it.
    // The rows keep their columns by hand, out of clang-format's reach.
    // clang-format off
    std::vector<DesignEntry> controls{
        {.name = "Label1",   .member = &Form1::Label1,
         .left = 720,  .top = 120,  .width = 4935, .height = 375,  .tabIndex = 5,  .shown = true,
         .content = u"Select Source File", .font = kStatusFont, .foreColor = kBlue,
         .alignment = A::Center},
        {.name = "Help",     .member = &Form1::Help,
         .left = 5640, .top = 120,  .width = 495,  .height = 255,  .tabIndex = 19, .shown = true,
         .content = u"Help"},
        {.name = "Drive1",   .member = &Form1::Drive1,
         .left = 120,  .top = 480,  .width = 2655, .height = 315,  .tabIndex = 2,  .shown = true,
         .tip = u"Select drive"},
        {.name = "Dir1",     .member = &Form1::Dir1,
         .left = 120,  .top = 960,  .width = 2655, .height = 2790, .tabIndex = 0,  .shown = true,
         .tip = u"Select working directory"},
        {.name = "File1",    .member = &Form1::File1,
         .left = 2760, .top = 960,  .width = 2295, .height = 2430, .tabIndex = 1,  .shown = true,
         .tip = u"Doubleclick to select file"},
        {.name = "filemask", .member = &Form1::filemask,
         .left = 2760, .top = 3480, .width = 2295, .height = 285,  .tabIndex = 7,  .shown = true,
         .content = u"*.*", .tip = u"Filename Mask", .font = kLargerFont},
        {.name = "DestFile", .member = &Form1::DestFile,
         .left = 1440, .top = 600,  .width = 4095, .height = 375,  .tabIndex = 8,  .shown = false,
         .tip = u"Enter desination file, or use this suggested name"},
        {.name = "go",       .member = &Form1::go,
         .left = 2760, .top = 1680, .width = 975,  .height = 495,  .tabIndex = 4,  .shown = true,
         .content = u"OK", .tip = u"Click to accept passwords"},
        {.name = "Murder",   .member = &Form1::Murder,
         .left = 3000, .top = 1080, .width = 735,  .height = 375,  .tabIndex = 21, .shown = false,
         .content = u"Kill it !", .font = kLargerFont},
        {.name = "Pwd",      .member = &Form1::Pwd,
         .left = 1440, .top = 600,  .width = 4095, .height = 375,  .tabIndex = 17, .shown = false,
         .tip = u"Enter Password or leave blank for non-secure file hiding", .masked = true},
        {.name = "Label5",   .member = &Form1::Label5,
         .left = 0,    .top = 1200, .width = 1335, .height = 375,  .tabIndex = 16, .shown = false,
         .content = u"Retype Password", .alignment = A::Right},
        {.name = "Pwd2",     .member = &Form1::Pwd2,
         .left = 1440, .top = 1200, .width = 4095, .height = 375,  .tabIndex = 15, .shown = false,
         .tip = u"Re-enter password for validation", .masked = true},
        {.name = "Start",    .member = &Form1::Start,
         .left = 2640, .top = 1680, .width = 1335, .height = 495,  .tabIndex = 9,  .shown = false,
         .content = u"Enc/Decrypt", .tip = u"Click to start the Encrypt / Decrypt process"},
        {.name = "Label4",   .member = &Form1::Label4,
         .left = 0,    .top = 2160, .width = 975,  .height = 375,  .tabIndex = 13, .shown = false,
         .content = u"Path", .alignment = A::Right},
        {.name = "Path",     .member = &Form1::Path,
         .left = 1080, .top = 2160, .width = 4935, .height = 285,  .tabIndex = 12, .shown = false,
         .readOnly = true},
        {.name = "Label2",   .member = &Form1::Label2,
         .left = 0,    .top = 2520, .width = 975,  .height = 255,  .tabIndex = 10, .shown = false,
         .content = u"Source", .alignment = A::Right},
        {.name = "SFile",    .member = &Form1::SFile,
         .left = 1080, .top = 2520, .width = 4935, .height = 285,  .tabIndex = 3,  .shown = true,
         .readOnly = true},
        {.name = "Label3",   .member = &Form1::Label3,
         .left = 0,    .top = 2880, .width = 975,  .height = 255,  .tabIndex = 11, .shown = false,
         .content = u"Destination", .alignment = A::Right},
        {.name = "DFile",    .member = &Form1::DFile,
         .left = 1080, .top = 2880, .width = 4935, .height = 315,  .tabIndex = 6,  .shown = true,
         .readOnly = true},
        {.name = "Progress", .member = &Form1::Progress,
         .left = 2160, .top = 3480, .width = 2055, .height = 285,  .tabIndex = 14, .shown = false,
         .accessibleName = u"Bytes processed"},
        // 30 twips wider than the client area: its right end lies outside the window. Its
        // scale is one unit high, so a box reaching y = 100 fills its height.
        {.name = "ProgBar",  .member = &Form1::ProgBar,
         .left = 0,    .top = 3600, .width = 6255, .height = 255,  .tabIndex = 20, .shown = false,
         .accessibleName = u"Progress"},
        {.name = "Label6",   .member = &Form1::Label6,
         .left = 120,  .top = 3840, .width = 5775, .height = 495,  .tabIndex = 18, .shown = false,
         .alignment = A::Center},
    };
    // clang-format on

    for (DesignEntry& entry : controls) entry.kind = KindOf(entry.member);
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

const DesignEntry* DesignOf(std::string_view name) {
    for (const DesignEntry& entry : Design().controls) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

Control* Form1::Find(std::string_view name) {
    const DesignEntry* entry = DesignOf(name);
    if (entry == nullptr) return nullptr;
    return VisitControl(*this, *entry, [](Control& control) { return &control; });
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
                         [](Control&) {},
                     });
        VisitControl(*this, entry, [&](Control& control) { control.SetVisible(entry.shown); });
    }
}

}  // namespace window
