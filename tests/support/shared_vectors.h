// One password with characters outside ASCII, its key and what it makes of one small file.
// The Linux and the Windows test runs check the same bytes, so a file enciphered by either
// build restores with the other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace support {

// The euro sign and Z with caron: both in the 0x80..0x9F row, where Windows-1252 differs
// from Latin-1 and from the first 256 code points of Unicode.
inline const std::u16string kSharedPassword = u"\u20AC\u017D";

inline const std::vector<std::uint8_t> kSharedKey = {0x80, 0x8E, '4', '2',  'm',
                                                     'o',  'R',  'v', 0xA5, 0x42};

inline const std::string kSharedSource = "Tessomar: one file, one password.\r\n";

inline const std::vector<std::uint8_t> kSharedDestination = {
    0xFA, 0x43, 0x05, 0x14, 0x39, 0x38, 0x98, 0x87, 0x65, 0x83, 0xF0, 0x0F,
    0xF0, 0xCE, 0xDF, 0xF3, 0xD0, 0x73, 0x9B, 0x6E, 0x4A, 0x5D, 0xE2, 0x0D,
    0xF8, 0xC8, 0xF9, 0x11, 0xC4, 0xAF, 0x58, 0x9A, 0xC3, 0x73, 0x0A};

}  // namespace support
