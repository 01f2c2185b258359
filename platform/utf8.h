// UTF-8 encoding, shared by the sources of this folder on every system.
#pragma once

#include <string>
#include <string_view>

namespace platform::utf8 {

inline void Append(std::string& bytes, char32_t code) {
    if (code < 0x80) {
        bytes.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        bytes.push_back(static_cast<char>(0xC0 | (code >> 6)));
        bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        bytes.push_back(static_cast<char>(0xE0 | (code >> 12)));
        bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        bytes.push_back(static_cast<char>(0xF0 | (code >> 18)));
        bytes.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// The UTF-8 bytes of a UTF-16 text: a pair of surrogates as the one character it makes, any
// other unit as itself, except half of a pair standing alone, which is no character: for that
// one lone(bytes, unit) appends what it stands for.
template <typename Lone>
std::string FromUtf16(std::u16string_view text, Lone lone) {
    const auto high = [](char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
    const auto low = [](char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at];
        if (high(unit) && at + 1 < text.size() && low(text[at + 1])) {
            const char16_t next = text[++at];
            Append(bytes, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (next - 0xDC00));
        } else if (high(unit) || low(unit)) {
            lone(bytes, unit);
        } else {
            Append(bytes, unit);
        }
    }
    return bytes;
}

}  // namespace platform::utf8
