// tessomar_browse_bench.exe FOLDER FILES TEXT_FILES (the Windows build)
//
// One browsing pass through the Win32 window, as tessomar_browse_bench --win32 runs it under
// wine: the window loaded from a "LastPath" naming FOLDER until its file list is filled and
// drawn, the folder left for its parent and opened again, then "*.txt" typed into the mask
// one character at a time. Prints one line per step ("load", "out", "into", then "key" for
// each keystroke) with its wall-clock and processor seconds, and the peak working set.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "remembered/remembered_folder.h"
#include "ui/win32/main_window.h"
#include "ui/win32/win32_host.h"
#include "window/form1.h"

namespace {

double ProcessorSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

void Print(const char* step, const std::function<void()>& work) {
    const double processor = ProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s %.6f %.6f\n", step, wall, ProcessorSeconds() - processor);
}

void Check(bool holds, const char* what) {
    if (!holds) throw std::runtime_error(what);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        if (argc != 4) throw std::runtime_error("usage: FOLDER FILES TEXT_FILES");
        const std::filesystem::path folder(argv[1]);
        const std::size_t files = std::stoul(argv[2]);
        const std::size_t textFiles = std::stoul(argv[3]);
        const std::u16string folderText(folder.u16string());
        std::filesystem::path state = folder;
        state += L"-win32-state";
        std::filesystem::create_directories(state);
        const remembered::RememberedFolder remembered(state.u16string());
        Check(remembered.Write(folderText) == remembered::WriteOutcome::Written,
              "cannot remember the folder");

        ui::win32::Win32Host host;
        window::Form1 form(host, remembered);
        ui::win32::MainWindow window(GetModuleHandleW(nullptr), form, host);
        const auto pump = [&] {
            UpdateWindow(window.Handle());
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (window.PreTranslate(message)) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        };
        Print("load", [&] {
            form.Load();
            window.Show(SW_SHOWNORMAL);
            pump();
        });
        Check(form.File1.Names().size() == files, "the file list is not filled");

        const std::u16string path = form.Dir1.Path();
        const auto open = [&](std::size_t entry) {
            form.React(nullptr, [&] { form.Dir1.OpenEntry(entry); });
            pump();
        };
        Print("out", [&] { open(static_cast<std::size_t>(form.Dir1.ListIndex() - 1)); });
        const auto& entries = form.Dir1.Entries();
        const auto back = std::find_if(entries.begin(), entries.end(),
                                       [&](const auto& entry) { return entry.path == path; });
        Check(back != entries.end(), "the folder list lost the folder");
        const auto backIndex = static_cast<std::size_t>(back - entries.begin());
        Print("into", [&] { open(backIndex); });
        Check(form.File1.Names().size() == files, "the folder was not opened again");

        const HWND mask = window.ControlFor("filemask");
        SetFocus(mask);
        SendMessageW(mask, EM_SETSEL, 0, -1);
        for (const wchar_t unit : std::wstring(L"*.txt")) {
            Print("key", [&] {
                SendMessageW(mask, WM_CHAR, unit, 1);
                pump();
            });
        }
        Check(form.File1.Names().size() == textFiles, "the mask did not filter");
        PROCESS_MEMORY_COUNTERS memory{};
        GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
        std::printf("peak %.1f 0\n", static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0);
        return 0;
    } catch (const std::exception& error) {
        std::printf("failed: %s\n", error.what());
        return 1;
    }
}
