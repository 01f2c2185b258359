// A Windows program started in a process of its own, as a user or Explorer starts it, whose
// windows a test reads through the system, as the user sees them.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace support {

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
// The rows of a list in another program, as a screen reader there hears them: by their
// accessible names (a list that draws its rows keeps no strings the system could copy
// across).
std::vector<std::wstring> RowsOf(HWND list);

class StartedProgram {
public:
    // commandLine is given to the system as it stands (the program's path first, quoted).
    StartedProgram(std::wstring commandLine, const std::filesystem::path& workingFolder);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return started_; }

    // The program's visible top-level window of that class; nullptr after 30 s.
    HWND WindowOfClass(const std::wstring& windowClass) const;

    // Posts the message by which the user ends it; returns the exit code, or -1 if it did
    // not end in 30 s.
    int ClosedBy(HWND window, UINT message, WPARAM w) const;

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

}  // namespace support
