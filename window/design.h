// The window as it looks before any handler runs, and the one table of its controls: each
// row names a control, points at its member of Form1 (whose type is the control's kind) and
// gives its looks. Every front-end builds its widgets from this table, so a control placed,
// captioned or named for screen readers here is so everywhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "window/form1.h"

namespace window {

enum class ControlKind {
    Label,
    TextBox,
    CommandButton,
    DriveListBox,
    DirListBox,
    FileListBox,
    PictureBox
};
enum class Alignment { Left, Center, Right };

struct Font {
    std::string face;  // "MS Sans Serif"; a front-end picks the nearest plain sans-serif
    double points = 8.25;
    bool bold = false;
};

// The member of Form1 that is the control. Its type is the control's kind, so a front-end
// reaches the control through std::visit (VisitControl) and never casts.
using ControlMember =
    std::variant<Label Form1::*, TextBox Form1::*, CommandButton Form1::*, DriveListBox Form1::*,
                 DirListBox Form1::*, FileListBox Form1::*, PictureBox Form1::*>;

// One row of the window's design. Geometry is in twips (15 twips are one pixel at 96 dots
// per inch).
struct DesignEntry {
    std::string name;
    ControlMember member;
    ControlKind kind{};  // follows from member: the table fills it in
    int left, top, width, height;
    int tabIndex;  // place in the focus order; labels hold one but never take the focus
    bool shown;
    Text content{};  // caption or text
    Text tip{};
    std::optional<Font> font{};        // none: the window's default font
    std::optional<Color> foreColor{};  // none: the colour scheme's
    Color backColor = kWhite;          // text boxes only
    Alignment alignment = Alignment::Left;
    bool masked = false;    // password box: shows '*'
    bool readOnly = false;  // filled by the workflow and read back by the run
    // What a screen reader calls the control: the label level with it on its left, else its
    // tip. Empty for labels and buttons, which speak their own captions.
    Text accessibleName{};
    std::string buddy{};  // labels: the control this label names, or empty
};

struct FormDesign {
    Text caption;
    int clientWidth, clientHeight;  // twips
    int left, top;                  // design position, twips
    Font defaultFont;
    std::vector<DesignEntry> controls;
};

const FormDesign& Design();

// The row of the control of that name, or nullptr.
const DesignEntry* DesignOf(std::string_view name);

// The window's own colour in the design, behind a label whose text colour the design fixes
// where the colour scheme's own would not let it be read.
inline constexpr Color kDesignFace{240, 240, 240};

// The two colours a control is drawn in, each left to the user's colour scheme where empty.
// Wherever the design fixes one of them (a text box's background, a label's text), the other
// is fixed too, to the design's, so that no scheme can draw the text in the colour of its
// background; a label's text on the window's face, schemeFace, is left there while it reads.
struct FixedColors {
    std::optional<Color> text;
    std::optional<Color> background;
};
FixedColors FixedColorsOf(const DesignEntry& entry, Control& control, Color schemeFace);

// How far apart two colours are to the eye: 1 for one colour, 21 for black and white; text
// reads with ease from 4.5 on.
double Contrast(Color a, Color b);

// The controls that take the keyboard focus, in the order Tab walks them: all but labels
// and the progress bar, which only shows.
const std::vector<const DesignEntry*>& TabOrder();

// Calls visitor with the control a row stands for, as its own type.
template <typename Visitor>
decltype(auto) VisitControl(Form1& form, const DesignEntry& entry, Visitor&& visitor) {
    return std::visit([&](auto member) -> decltype(auto) { return visitor(form.*member); },
                      entry.member);
}

// A visitor made of one lambda per control type.
template <typename... Lambdas>
struct Overloaded : Lambdas... {
    using Lambdas::operator()...;
};
template <typename... Lambdas>
Overloaded(Lambdas...) -> Overloaded<Lambdas...>;

}  // namespace window
