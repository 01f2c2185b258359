// A run ended by force (Task Manager, a crash) leaves nothing in the result's folder: the
// temporary is the system's to remove from the moment it is made.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

namespace fs = std::filesystem;
using support::ScratchFolder;

constexpr std::size_t kRunSize = std::size_t{64} << 20;

struct Child {
    PROCESS_INFORMATION process{};
    explicit Child(std::wstring arguments) {
        std::wstring self(32768, L'\0');
        self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
        std::wstring line = L"\"" + (fs::path(self).parent_path() / L"run_child.exe").wstring() +
                            L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
    }
    ~Child() {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    // Its exit code, or -1 if it did not end within a minute.
    int Ends() {
        if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 99);
            return -1;
        }
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        return static_cast<int>(code);
    }
};

std::size_t EntriesIn(const ScratchFolder& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()));
}

TEST(WindowsKilledRun, ARunEndedByForceLeavesNothingAndACompletedOneExactlyTheResult) {
    const ScratchFolder sources;
    const ScratchFolder results;
    std::string bytes(kRunSize, '\0');
    for (std::size_t n = 0; n < bytes.size(); ++n) bytes[n] = static_cast<char>(n * 7 + (n >> 13));
    support::WriteFile(sources / "source.bin", bytes);
    const std::wstring run = L"\"" + (sources / "source.bin").wstring() + L"\" \"" +
                             (results / "result.bin").wstring() + L"\"";

    const std::wstring eventName = L"tessomar-half-way-" + std::to_wstring(GetCurrentProcessId());
    const HANDLE halfWay = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(halfWay, nullptr);
    {
        Child killed(run + L" " + eventName);
        const HANDLE either[] = {halfWay, killed.process.hProcess};
        ASSERT_EQ(WaitForMultipleObjects(2, either, FALSE, 60000), WAIT_OBJECT_0);
        EXPECT_EQ(EntriesIn(results), 1u);  // the temporary, half written
        ASSERT_TRUE(TerminateProcess(killed.process.hProcess, 9));
        EXPECT_EQ(killed.Ends(), 9);
    }
    CloseHandle(halfWay);
    EXPECT_EQ(EntriesIn(results), 0u);

    Child completed(run);
    EXPECT_EQ(completed.Ends(), 0);
    ASSERT_EQ(EntriesIn(results), 1u);
    EXPECT_EQ(fs::file_size(results / "result.bin"), kRunSize);
}

}  // namespace
