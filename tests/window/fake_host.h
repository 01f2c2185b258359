// A host for window tests: records message boxes, counts repaints during a run, and lets a
// test act in the middle of one.
#pragma once

#include <functional>
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
    bool PaintDuringRun() override {
        ++paints;
        if (duringRun) duringRun();
        return !closeRequested;
    }

    std::vector<Message> messages;
    int paints = 0;
    bool closeRequested = false;
    // What another program does while a run goes on, at each repaint.
    std::function<void()> duringRun;
};

}  // namespace window::testing
