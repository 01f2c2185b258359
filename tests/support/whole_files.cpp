#include "tests/support/whole_files.h"

#include <fstream>
#include <iterator>

namespace support {

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    WriteFile(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes ReadBytes(const std::filesystem::path& path) {
    const std::string bytes = ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

}  // namespace support
