// The window's controls, free of any toolkit. A front-end draws them and hands user input
// back through the same calls the handlers use; every property change tells the control's
// observer, so the front-end redraws what changed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace window {

using Text = std::u16string;

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kProgressColor{64, 128, 255};

class Control;

// Told after any property of the control changed; it re-reads what it shows.
class ControlObserver {
public:
    virtual ~ControlObserver() = default;
    virtual void ControlChanged(const Control& control) = 0;
};

class Control {
public:
    explicit Control(std::string name) : name_(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void SetObserver(ControlObserver* observer) { observer_ = observer; }

protected:
    void Notify() const;

private:
    std::string name_;
    bool visible_ = true;
    ControlObserver* observer_ = nullptr;
};

class Label : public Control {
public:
    using Control::Control;
    const Text& Caption() const { return caption_; }
    void SetCaption(Text caption);

private:
    Text caption_;
};

class TextBox : public Control {
public:
    using Control::Control;
    const Text& GetText() const { return text_; }
    // Runs the Change handler at once, inside this call, when the text differs.
    void SetText(Text text);
    // The text as the user typed or pasted it. Every box of the window holds one line, as
    // the system's single-line boxes do: a pasted text is taken up to its first line break.
    void Typed(Text text);
    Color BackColor() const { return backColor_; }
    void SetBackColor(Color color);
    void OnChange(std::function<void()> handler) { change_ = std::move(handler); }

private:
    Text text_;
    Color backColor_ = kWhite;
    std::function<void()> change_;
};

class CommandButton : public Control {
public:
    using Control::Control;
    // A press of the button: runs the Click handler.
    void Click();
    void OnClick(std::function<void()> handler) { click_ = std::move(handler); }

private:
    std::function<void()> click_;
};

// A filled box on a picture box, in the box's own scale.
struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    Color color;
    friend bool operator==(const Box&, const Box&) = default;
};

// Boxes are drawn in the box's own scale: x from 0 at the left edge to ScaleWidth at the right,
// y from 0 at the top edge to ScaleHeight at the bottom. Whatever lies past an edge is cut off.
class PictureBox : public Control {
public:
    using Control::Control;
    double ScaleWidth() const { return scaleWidth_; }
    // One unit high, always: the window only ever sets the width.
    double ScaleHeight() const { return 1; }
    // A new scale starts a new picture: the boxes drawn so far are cleared. The width must be
    // positive (std::invalid_argument otherwise), so a front-end can always divide by it.
    void SetScaleWidth(double width);
    // Boxes drawn in the scale. A box that covers the last one drawn in the same colour
    // replaces it, so a growing bar costs one entry, not one per step.
    void DrawBox(const Box& box);
    const std::vector<Box>& Boxes() const { return boxes_; }

private:
    double scaleWidth_ = 1;
    std::vector<Box> boxes_;
};

}  // namespace window
