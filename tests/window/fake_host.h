// A host for window tests: records message boxes and counts repaints during a run.
#pragma once

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
        return !closeRequested;
    }

    std::vector<Message> messages;
    int paints = 0;
    bool closeRequested = false;
};

}  // namespace window::testing
