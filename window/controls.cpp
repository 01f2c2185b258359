#include "window/controls.h"

#include <stdexcept>
#include <utility>

namespace window {

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Notify();
}

void Control::Notify() const {
    if (observer_ != nullptr) observer_->ControlChanged(*this);
}

void Label::SetCaption(Text caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Notify();
}

void TextBox::SetText(Text text) {
    if (text_ == text) return;
    text_ = std::move(text);
    Notify();
    if (change_) change_();
}

void TextBox::Typed(Text text) {
    const std::size_t lineBreak = text.find_first_of(u"\r\n");
    if (lineBreak != Text::npos) {
        text.resize(lineBreak);
        // The box on screen shows the line break until it is told what the text is.
        if (text == text_) Notify();
    }
    SetText(std::move(text));
}

void TextBox::SetBackColor(Color color) {
    if (backColor_ == color) return;
    backColor_ = color;
    Notify();
}

void CommandButton::Click() {
    if (click_) click_();
}

void PictureBox::SetScaleWidth(double width) {
    if (!(width > 0)) throw std::invalid_argument("a picture box's scale must be positive");
    scaleWidth_ = width;
    boxes_.clear();
    Notify();
}

void PictureBox::DrawBox(const Box& box) {
    const bool coversLast = !boxes_.empty() && boxes_.back().color == box.color &&
                            box.left <= boxes_.back().left && box.top <= boxes_.back().top &&
                            box.right >= boxes_.back().right && box.bottom >= boxes_.back().bottom;
    if (coversLast) {
        boxes_.back() = box;
    } else {
        boxes_.push_back(box);
    }
    Notify();
}

}  // namespace window
