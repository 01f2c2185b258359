// Password characters become key bytes through Windows-1252, whatever the machine's locale,
// so that a file enciphered on one machine restores on any other.
#pragma once

#include <cstdint>

namespace cipher {

// The Windows-1252 code of one UTF-16 unit, or '?' for a unit that has none (a C1 control,
// either half of a surrogate pair, any other character outside the set).
std::uint8_t ToWindows1252(char16_t unit);

// True if the unit has a code of its own (so '?' itself has one, U+0416 has none).
bool HasWindows1252Code(char16_t unit);

}  // namespace cipher
