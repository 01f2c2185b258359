// The Recycle Bin: "Kill it !" must say where a file went, and the shell, asked for no dialog,
// deletes for good without saying so where it has no Recycle Bin to put it in. Under wine the
// Recycle Bin is the Trash in the data folder of the Unix side ($XDG_DATA_HOME), and a data
// folder where none can be made leaves the shell none.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMoved = 10;
constexpr int kDeletedForGood = 11;

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// How the helper process ended after discarding the file; -1 if it did not end within 30 s.
int DiscardedInAProcessOfItsOwn(const fs::path& file) {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    const fs::path helper = fs::path(self).parent_path() / L"discard_child.exe";
    std::wstring line = L"\"" + helper.wstring() + L"\" \"" + file.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -2;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

TEST(RecycleBin, WhereTheShellHasNoneTheFileIsSaidToBeDeletedForGood) {
    if (!UnderWine()) GTEST_SKIP() << "a disk without a Recycle Bin is wine's data folder here";
    const support::ScratchFolder scratch;
    wchar_t kept[4096] = {};
    const DWORD length = GetEnvironmentVariableW(L"XDG_DATA_HOME", kept, 4096);
    const struct {
        const wchar_t* dataFolder;  // nullptr: the one the tests run with
        int ends;
    } cases[] = {{nullptr, kMoved}, {L"/proc/no-such-folder", kDeletedForGood}};
    for (const auto& c : cases) {
        if (c.dataFolder != nullptr) SetEnvironmentVariableW(L"XDG_DATA_HOME", c.dataFolder);
        support::WriteFile(scratch / "gone.txt", "x");
        const int ended = DiscardedInAProcessOfItsOwn(scratch / "gone.txt");
        SetEnvironmentVariableW(L"XDG_DATA_HOME", length > 0 ? kept : nullptr);
        EXPECT_EQ(ended, c.ends);
        EXPECT_FALSE(fs::exists(scratch / "gone.txt"));
    }
}

}  // namespace
