// Linux keeps no single-byte character set of its own: password characters take their
// Windows-1252 codes, so that a file moves between a Linux machine and a Western Windows one.
#include <array>

#include "platform/platform.h"

namespace platform {
namespace {

// The characters at codes 0x80..0x9F; 0 marks the five codes the set leaves undefined (never
// matched, since units below 0x80 are answered before the table is searched).
constexpr std::array<char16_t, 32> kCharactersAt80To9F{
    u'\u20AC', 0,         u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', 0,         u'\u017D', 0,
    0,         u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', 0,         u'\u017E', u'\u0178',
};

}  // namespace

std::optional<std::uint8_t> SingleByteCode(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<std::uint8_t>(unit);
    }
    for (std::size_t n = 0; n < kCharactersAt80To9F.size(); ++n) {
        if (kCharactersAt80To9F[n] == unit) {
            return static_cast<std::uint8_t>(0x80 + n);
        }
    }
    return std::nullopt;
}

}  // namespace platform
