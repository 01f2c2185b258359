#include "tests/support/started_program_windows.h"

#include <oleacc.h>

namespace support {

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<std::wstring> RowsOf(HWND list) {
    // The accessible object comes from the program through COM.
    const bool comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    std::vector<std::wstring> rows;
    IAccessible* accessible = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(list, static_cast<DWORD>(OBJID_CLIENT),
                                             __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&accessible)))) {
        const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LONG row = 1; row <= count; ++row) {
            VARIANT child;
            VariantInit(&child);
            child.vt = VT_I4;
            child.lVal = row;
            BSTR name = nullptr;
            rows.push_back(SUCCEEDED(accessible->get_accName(child, &name)) && name != nullptr
                               ? std::wstring(name, SysStringLen(name))
                               : L"<no name>");
            SysFreeString(name);
        }
        accessible->Release();
    }
    if (comStarted) CoUninitialize();
    return rows;
}

StartedProgram::StartedProgram(std::wstring commandLine,
                               const std::filesystem::path& workingFolder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              workingFolder.c_str(), &startup, &process_) != FALSE;
}

StartedProgram::~StartedProgram() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND StartedProgram::WindowOfClass(const std::wstring& windowClass) const {
    for (int tries = 0; tries < 300; ++tries) {
        struct Search {
            DWORD process;
            const std::wstring* windowClass;
            HWND found;
        } search{process_.dwProcessId, &windowClass, nullptr};
        EnumWindows(
            [](HWND window, LPARAM parameter) {
                auto* search = reinterpret_cast<Search*>(parameter);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == search->process && IsWindowVisible(window) &&
                    ClassOf(window) == *search->windowClass) {
                    search->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        Sleep(100);
    }
    return nullptr;
}

int StartedProgram::ClosedBy(HWND window, UINT message, WPARAM w) const {
    PostMessageW(window, message, w, 0);
    if (WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

}  // namespace support
