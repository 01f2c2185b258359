// Console stop requests, each tried in a process of its own with a console of its own, so
// that a request that still ended the program would end only that process. Ctrl+C is the
// one event a program can send its own console under wine (Ctrl+Break is refused there, and
// a console's close cannot be sent at all); the handler takes every event alike.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <cstring>
#include <string>

namespace {

constexpr int kRecorded = 10;
constexpr int kNotRecorded = 3;

// How the helper process ended: its exit code, or -1 if it did not end within 30 s.
int ChildEnds(const char* requests) {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    const std::filesystem::path helper =
        std::filesystem::path(self).parent_path() / L"stop_request_child.exe";
    std::wstring line = L"\"" + helper.wstring() + L"\" " +
                        std::wstring(requests, requests + std::strlen(requests));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                        nullptr, &startup, &process)) {
        return -2;
    }
    int code = -1;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        code = static_cast<int>(exitCode);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(WindowsStopRequests, CtrlCIsRecordedInsteadOfEndingTheProgram) {
    EXPECT_EQ(ChildEnds("kept"), kRecorded);
    // Without the object the request ends the program on the spot, as it would a run.
    const int ended = ChildEnds("none");
    EXPECT_NE(ended, kRecorded);
    EXPECT_NE(ended, kNotRecorded);
    EXPECT_GE(ended, 0);
}

}  // namespace
