#include "tests/support/expected_bytes.h"

#include <utility>

#include "cipher/cipher.h"

namespace support {

namespace {

template <typename Container>
Container TransformedByteByByte(Container bytes, std::u16string_view password) {
    cipher::CipherState state;
    cipher::KeySchedule(state, cipher::BuildKey(password).bytes);
    for (std::size_t n = 0; n + 1 < bytes.size(); ++n) {
        bytes[n] =
            static_cast<typename Container::value_type>(bytes[n] ^ cipher::NextKeyByte(state));
    }
    return bytes;
}

}  // namespace

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t n = 0; n < size; ++n) bytes[n] = static_cast<char>(n * 7 + n / 251);
    return bytes;
}

Bytes PatternBytes(std::size_t size) {
    const std::string bytes = Pattern(size);
    return {bytes.begin(), bytes.end()};
}

std::string Expected(std::string bytes, std::u16string_view password) {
    return TransformedByteByByte(std::move(bytes), password);
}

Bytes Expected(Bytes bytes, std::u16string_view password) {
    return TransformedByteByByte(std::move(bytes), password);
}

}  // namespace support
