// A run of the program's transform in a process of its own, for the test that ends one by
// force: run_child <source> <destination> [<event>]. With an event, the run sets it half way
// through and waits there to be ended.
#include <windows.h>

#include <string>

#include "cipher/cipher.h"

namespace {

class HalfWay : public cipher::ProgressSink {
public:
    explicit HalfWay(HANDLE event) : event_(event) {}
    void Begin(std::int64_t total) override { total_ = total; }
    void Update(std::int64_t count) override {
        if (event_ == nullptr || count < total_ / 2) return;
        SetEvent(event_);
        Sleep(INFINITE);
    }

private:
    HANDLE event_;
    std::int64_t total_ = 0;
};

std::u16string Text(const char* ascii) { return std::u16string(ascii, ascii + strlen(ascii)); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::wstring eventName =
        argc > 3 ? std::wstring(argv[3], argv[3] + strlen(argv[3])) : L"";
    HalfWay sink(argc > 3 ? OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName.c_str()) : nullptr);
    cipher::CipherState state;
    const std::uint8_t key[] = {'k', 'e', 'y'};
    cipher::KeySchedule(state, key);
    try {
        cipher::TransformFile(Text(argv[1]), Text(argv[2]), state, sink);
    } catch (...) {
        return 1;
    }
    return 0;
}
