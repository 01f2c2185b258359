// Sample contents and what a run must make of them, worked out one key byte at a time from
// the engine's own steps, as the yardstick for its bulk transform.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tests/support/whole_files.h"

namespace support {

// Bytes of every value in an order that does not repeat every 256 bytes, so that a byte a
// run skips or doubles shows up.
std::string Pattern(std::size_t size);
Bytes PatternBytes(std::size_t size);

// Every byte but the last XORed with the password's keystream; the last stays plain.
std::string Expected(std::string bytes, std::u16string_view password);
Bytes Expected(Bytes bytes, std::u16string_view password);

}  // namespace support
