#include <bit>
#include <cstring>

#include "cipher/keystream_loops.h"

namespace cipher::detail {

void ApplyKeystreamPortable(WideState& state, std::span<std::uint8_t> data) {
    std::uint32_t* const S = state.S;
    std::uint8_t i = state.i;
    std::uint8_t j = state.j;
    std::uint8_t* p = data.data();
    std::size_t left = data.size();
    // Eight keystream bytes gathered into one word cost one load, one XOR and one store of
    // data instead of eight; the unrolled steps also let the processor overlap their loads.
    // The first keystream byte must meet the first data byte, which the word's low byte does
    // only on a little-endian machine (every platform this program is built for).
    static_assert(std::endian::native == std::endian::little);
    while (left >= 8) {
        std::uint64_t word = 0;
        for (unsigned shift = 0; shift < 64; shift += 8) {
            word |= std::uint64_t{NextWideKeyByte(S, i, j)} << shift;
        }
        std::uint64_t chunk;
        std::memcpy(&chunk, p, 8);
        chunk ^= word;
        std::memcpy(p, &chunk, 8);
        p += 8;
        left -= 8;
    }
    for (; left > 0; --left, ++p) {
        *p ^= NextWideKeyByte(S, i, j);
    }
    state.i = i;
    state.j = j;
}

}  // namespace cipher::detail
