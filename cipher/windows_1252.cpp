#include "cipher/windows_1252.h"

#include <array>
#include <optional>

namespace cipher {
namespace {

constexpr std::uint8_t NO_CODE = '?';

// The characters at codes 0x80..0x9F; 0 marks the five codes the set leaves undefined (never
// matched, since units below 0x80 are answered before the table is searched).
constexpr std::array<char16_t, 32> CHARACTERS_AT_80_TO_9F{
    u'\u20AC', 0,         u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', 0,         u'\u017D', 0,
    0,         u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', 0,         u'\u017E', u'\u0178',
};

std::optional<std::uint8_t> CodeOf(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<std::uint8_t>(unit);
    }
    for (std::size_t n = 0; n < CHARACTERS_AT_80_TO_9F.size(); ++n) {
        if (CHARACTERS_AT_80_TO_9F[n] == unit) {
            return static_cast<std::uint8_t>(0x80 + n);
        }
    }
    return std::nullopt;
}

}  // namespace

std::uint8_t ToWindows1252(char16_t unit) { return CodeOf(unit).value_or(NO_CODE); }

bool HasWindows1252Code(char16_t unit) { return CodeOf(unit).has_value(); }

}  // namespace cipher
