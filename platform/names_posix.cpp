// Linux file names are byte strings, usually UTF-8. Bytes that do not form valid UTF-8 are
// carried as lone surrogates U+DC80..U+DCFF (one per byte), which no valid UTF-8 can produce,
// so every name on disk survives the trip to the window's UTF-16 text and back.
#include <climits>
#include <string>

#include "platform/names_posix.h"
#include "platform/platform.h"
#include "platform/system_parts.h"
#include "platform/utf8.h"

namespace platform {
namespace {

constexpr char32_t ESCAPE_BASE = 0xDC00;
constexpr char16_t REPLACEMENT = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one strict UTF-8 sequence at bytes[at]; returns its length, or 0 if the bytes there
// are not a valid, shortest-form sequence of a Unicode scalar value.
std::size_t DecodeOne(std::string_view bytes, std::size_t at, char32_t& code) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[at + k]); };
    const unsigned char lead = byte(0);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (!IsContinuation(byte(k))) {
            return 0;
        }
        code = (code << 6) | (byte(k) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < minimum || code > 0x10FFFF || surrogate) {
        return 0;
    }
    return length;
}

void AppendUtf16(std::u16string& text, char32_t code) {
    if (code < 0x10000) {
        text.push_back(static_cast<char16_t>(code));
    } else {
        code -= 0x10000;
        text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
}

}  // namespace

void AppendFromNative(std::string_view bytes, std::u16string& text) {
    for (std::size_t at = 0; at < bytes.size();) {
        if (static_cast<unsigned char>(bytes[at]) < 0x80) {
            text.push_back(static_cast<char16_t>(bytes[at++]));
            continue;
        }
        char32_t code;
        const std::size_t length = DecodeOne(bytes, at, code);
        if (length == 0) {
            AppendUtf16(text, ESCAPE_BASE + static_cast<unsigned char>(bytes[at]));
            ++at;
        } else {
            AppendUtf16(text, code);
            at += length;
        }
    }
}

std::u16string FromNative(const NativeString& name) {
    std::u16string text;
    text.reserve(name.size());
    AppendFromNative(name, text);
    return text;
}

NativeString ToNative(std::u16string_view text) {
    return utf8::FromUtf16(text, [](std::string& bytes, char16_t unit) {
        if (unit >= ESCAPE_BASE + 0x80 && unit <= ESCAPE_BASE + 0xFF) {
            bytes.push_back(static_cast<char>(unit - ESCAPE_BASE));
        } else {
            // A lone surrogate that no name on disk produced has no byte of its own; the
            // replacement character keeps it visible instead of silently dropping it.
            utf8::Append(bytes, REPLACEMENT);
        }
    });
}

char16_t Separator() { return u'/'; }

bool detail::IsSeparator(char16_t unit) { return unit == u'/'; }

std::optional<detail::PathRoot> detail::RootOf(std::u16string_view path) {
    if (path.empty() || path.front() != u'/') return std::nullopt;
    return PathRoot{u"/", 1};
}

NameProblem CheckFileName(std::u16string_view name) {
    if (name.empty()) return NameProblem::Empty;
    if (name == u"." || name == u"..") return NameProblem::DotName;
    if (name.find(u'/') != std::u16string_view::npos) return NameProblem::FolderPart;
    if (name.find(u'\0') != std::u16string_view::npos) return NameProblem::BadCharacter;
    if (ToNative(name).size() > NAME_MAX) return NameProblem::TooLong;
    return NameProblem::None;
}

// Linux file systems keep letter case: "SRC.TXT" and "src.txt" are two files.
bool SameName(std::u16string_view a, std::u16string_view b) { return a == b; }

std::u16string NameKey(std::u16string_view name) { return std::u16string(name); }

// A folder's name is written as its own bytes, so that any folder comes back as it was.
std::optional<std::string> EncodeLine(std::u16string_view text) { return ToNative(text); }

std::u16string DecodeLine(std::string_view bytes) { return FromNative(std::string(bytes)); }

}  // namespace platform
