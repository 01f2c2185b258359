// Windows names are UTF-16 already: the window's text goes to the W functions unit for unit,
// so every name the file system holds, paired surrogates or not, is listed and opened as it is.
#include <windows.h>

#include <algorithm>
#include <array>
#include <string>

#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

using detail::IsSeparator;

namespace {

bool IsDriveLetter(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

// The most units one name may have, on NTFS and FAT alike (a path may have many more).
constexpr std::size_t kLongestName = 255;

// The names the system keeps for devices, with or without an extension ("NUL.txt" is NUL);
// the ports are numbered 1 to 9, in plain or in superscript digits.
bool IsDeviceName(std::u16string_view name) {
    static constexpr std::array<std::u16string_view, 6> kPlain = {u"CON", u"PRN",    u"AUX",
                                                                  u"NUL", u"CONIN$", u"CONOUT$"};
    const std::u16string key = NameKey(name.substr(0, std::min(name.find(u'.'), name.size())));
    std::u16string_view stem = key;
    while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
    if (std::find(kPlain.begin(), kPlain.end(), stem) != kPlain.end()) return true;
    if (stem.size() != 4 || !(stem.starts_with(u"COM") || stem.starts_with(u"LPT"))) return false;
    const char16_t number = stem[3];
    return (number >= u'1' && number <= u'9') || number == u'\u00b9' || number == u'\u00b2' ||
           number == u'\u00b3';
}

int Length(std::u16string_view text) { return static_cast<int>(text.size()); }

}  // namespace

std::u16string FromNative(const NativeString& name) { return FromWide(name); }

NativeString ToNative(std::u16string_view text) { return NativeString(Wide(text), text.size()); }

char16_t Separator() { return u'\\'; }

bool detail::IsSeparator(char16_t unit) { return unit == u'\\' || unit == u'/'; }

// Only paths that begin with a drive letter, a colon and a separator are absolute here ("C:"
// alone is taken as the drive's root, which is how the drive list names it).
std::optional<detail::PathRoot> detail::RootOf(std::u16string_view path) {
    if (path.size() < 2 || !IsDriveLetter(path[0]) || path[1] != u':' ||
        (path.size() > 2 && !IsSeparator(path[2]))) {
        return std::nullopt;
    }
    const char16_t letter = path[0] >= u'a' ? path[0] - (u'a' - u'A') : path[0];
    return PathRoot{{letter, u':', u'\\'}, 2};
}

NameProblem CheckFileName(std::u16string_view name) {
    if (name.empty()) return NameProblem::Empty;
    if (name == u"." || name == u"..") return NameProblem::DotName;
    if (std::any_of(name.begin(), name.end(), IsSeparator)) return NameProblem::FolderPart;
    const bool forbidden = std::any_of(name.begin(), name.end(), [](char16_t unit) {
        return unit < 0x20 ||
               std::u16string_view(u"<>:\"|?*").find(unit) != std::u16string_view::npos;
    });
    // The system drops a final dot or blank when it makes the file, so the file would appear
    // under another name than the one checked.
    if (forbidden || name.back() == u'.' || name.back() == u' ') return NameProblem::BadCharacter;
    if (IsDeviceName(name)) return NameProblem::DeviceName;
    if (name.size() > kLongestName) return NameProblem::TooLong;
    return NameProblem::None;
}

// As the file system compares names: each unit by its upper case, without regard to language.
bool SameName(std::u16string_view a, std::u16string_view b) {
    return CompareStringOrdinal(Wide(a), Length(a), Wide(b), Length(b), TRUE) == CSTR_EQUAL;
}

std::u16string NameKey(std::u16string_view name) {
    std::u16string key(name);
    if (!key.empty()) {
        CharUpperBuffW(reinterpret_cast<wchar_t*>(key.data()), static_cast<DWORD>(key.size()));
    }
    return key;
}

// The line is in the ANSI code page, as the system's other programs write such files; a
// folder whose name has a character outside it cannot be written there, and is not written
// as some look-alike that names another folder.
std::optional<std::string> EncodeLine(std::u16string_view text) {
    if (text.empty()) return std::string();
    const UINT codePage = GetACP();
    // The UTF-8 code page takes every character, but only reports a lone surrogate if asked.
    const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* reportDefault = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(codePage, flags, Wide(text), Length(text), nullptr, 0,
                                         nullptr, reportDefault);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, Wide(text), Length(text), bytes.data(), size, nullptr,
                        reportDefault);
    if (usedDefault) return std::nullopt;
    return bytes;
}

std::u16string DecodeLine(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string text(static_cast<std::size_t>(std::max(size, 0)), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                        reinterpret_cast<wchar_t*>(text.data()), size);
    return text;
}

}  // namespace platform
