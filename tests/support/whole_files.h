// Whole files written and read back byte for byte, as text bytes or as a byte vector.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace support {

using Bytes = std::vector<std::uint8_t>;

// Creates or replaces the file.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);

// The whole file; empty if it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
Bytes ReadBytes(const std::filesystem::path& path);

}  // namespace support
