// A host for window tests: records message boxes, repaints during a run, where the window
// sent the focus and whether it closed the window.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "window/host.h"

namespace window::testing {

class FakeHost : public Host {
public:
    struct Message {
        Text title;
        Text text;
    };

    void ShowMessage(const Text& title, const Text& message) override {
        messages.push_back({title, message});
    }
    void PaintDuringRun() override {
        ++paints;
        if (onPaint) onPaint();
    }
    void SetFocus(const Control& control) override { focus = control.Name(); }
    void CloseWindow() override { ++closes; }
    std::chrono::milliseconds DoubleClickTime() const override { return doubleClickTime; }

    std::vector<Message> messages;
    int paints = 0;
    // Runs at each paint, where the window system's events (a close) would arrive.
    std::function<void()> onPaint;
    std::string focus;  // the control last given the focus
    int closes = 0;
    // None by default, so that tests may click one button after another at once.
    std::chrono::milliseconds doubleClickTime{0};
};

}  // namespace window::testing
