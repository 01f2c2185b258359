// How the user's events reach the window: one reaction at a time, with the decisions a
// front-end would otherwise make itself (what Enter presses, where the focus goes, when the
// window may close, what a failure shows), so every front-end behaves alike.
#include <exception>

#include "window/design.h"
#include "window/texts.h"

namespace window {

void Form1::React(const Control* focused, const std::function<void()>& reaction) {
    ++reactionDepth_;
    try {
        reaction();
    } catch (const std::exception& error) {
        // A failure must not cross the front-end's event loop, which would end the program
        // and lose what the user sees; say what went wrong instead.
        host_.ShowMessage(Text(kApplicationName), ErrorText(error));
    }
    --reactionDepth_;
    if (reactionDepth_ > 0) return;
    // When a stage hides the control the user was on, the next stage's box to type in takes
    // the focus (the destination name, then the password) rather than whatever follows in
    // the order.
    if (focused != nullptr && !focused->Visible()) {
        if (Control* input = FirstInput()) host_.SetFocus(*input);
    }
    if (closeRequested_) host_.CloseWindow();
}

Control* Form1::FirstInput() {
    for (const DesignEntry* entry : TabOrder()) {
        Control* control = Find(entry->name);
        if (entry->kind == ControlKind::TextBox && !entry->readOnly && control->Visible()) {
            return control;
        }
    }
    return nullptr;
}

void Form1::PressEnter(const Control* focused) {
    // A key is never the second half of a double click: Enter after Enter runs Start.
    lastClickAt_.reset();
    React(focused, [&] {
        // A focused button is pressed itself, as with Space: Start runs even without a
        // password, with its warning.
        if (focused != nullptr && focused->Visible()) {
            const bool pressed = VisitControl(*this, *DesignOf(focused->Name()),
                                              Overloaded{
                                                  [](CommandButton& button) {
                                                      button.Click();
                                                      return true;
                                                  },
                                                  [](Control&) { return false; },
                                              });
            if (pressed) return;
        }
        // Enter in the first password box goes on to the retype box while it is shown.
        if (focused == &Pwd && Pwd2.Visible()) {
            host_.SetFocus(Pwd2);
            return;
        }
        if (go.Visible()) {
            go.Click();
        } else if (Start.Visible()) {
            // Enter that merely goes on from the file and its name must not run with the
            // fixed key: with both boxes empty it asks for the password instead.
            if (Pwd.GetText().empty() && Pwd2.GetText().empty()) {
                if (Pwd.Visible()) host_.SetFocus(Pwd);
                return;
            }
            Start.Click();
        }
    });
}

bool Form1::RequestClose() {
    // A close in the middle of a reaction would pull the controls away from under it: a run
    // stops at its next paint, and the window closes once the reaction has returned.
    if (reactionDepth_ == 0) return true;
    closeRequested_ = true;
    return false;
}

}  // namespace window
