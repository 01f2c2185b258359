// A chain of folders whose last one lies past the old path limit of 260 units, made and
// removed through the system's own long form ("\\?\C:\..."), not through the program's.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace support {

inline std::wstring LongForm(const std::u16string& absolute) {
    return L"\\\\?\\" + std::wstring(absolute.begin(), absolute.end());
}

// What std::filesystem cannot remove: a tree past the old limit.
inline void RemoveTree(const std::wstring& longForm) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((longForm + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            const std::wstring path = longForm + L"\\" + name;
            if (name == L"." || name == L"..") continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(longForm.c_str());
}

// Folders of 40 units each below top (which exists) until the path has at least `length`
// units; returns the deepest folder's path. The caller removes the chain (RemoveTree).
inline std::u16string MakeDeepFolder(const std::u16string& top, std::size_t length) {
    std::u16string path = top;
    while (path.size() < length) {
        path = platform::JoinPath(path, std::u16string(40, u'd'));
        EXPECT_TRUE(CreateDirectoryW(LongForm(path).c_str(), nullptr)) << GetLastError();
    }
    return path;
}

inline void WriteDeepFile(const std::u16string& path, const std::string& bytes) {
    const HANDLE file =
        CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD put = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(file);
}

inline std::string ReadDeepFile(const std::u16string& path) {
    const HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes(1 << 16, '\0');
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

}  // namespace support
