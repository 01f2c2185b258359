#include <bit>
#include <cstring>

#include "cipher/cipher.h"

namespace cipher {

void KeySchedule(CipherState& state, std::span<const std::uint8_t> key) {
    for (unsigned n = 0; n < 256; ++n) {
        state.S[n] = static_cast<std::uint8_t>(n);
    }
    std::uint8_t j = 0;
    for (std::size_t n = 0; n < 256; ++n) {
        j = static_cast<std::uint8_t>(j + state.S[n] + key[n % key.size()]);
        std::swap(state.S[n], state.S[j]);
    }
    state.i = 0;
    // j carries on into the output step; files written so far restore only with this.
    state.j = j;
}

std::uint8_t NextKeyByte(CipherState& state) {
    ++state.i;
    state.j = static_cast<std::uint8_t>(state.j + state.S[state.i]);
    std::swap(state.S[state.i], state.S[state.j]);
    return state.S[static_cast<std::uint8_t>(state.S[state.i] + state.S[state.j])];
}

void ApplyKeystream(CipherState& state, std::span<std::uint8_t> data) {
    // The hot loop works on a private copy of the state: with the table and indices in locals
    // the compiler knows the data cannot alias them and keeps i and j in registers. A table of
    // 32-bit entries avoids partial-register stalls, and 8-bit indices wrap at 256 for free.
    std::uint32_t S[256];
    for (unsigned n = 0; n < 256; ++n) {
        S[n] = state.S[n];
    }
    std::uint8_t i = state.i;
    std::uint8_t j = state.j;
    auto step = [&]() -> std::uint64_t {
        ++i;
        const std::uint32_t x = S[i];
        j = static_cast<std::uint8_t>(j + x);
        const std::uint32_t y = S[j];
        S[j] = x;
        S[i] = y;
        return S[static_cast<std::uint8_t>(x + y)];
    };

    std::uint8_t* p = data.data();
    std::size_t left = data.size();
    // Eight keystream bytes gathered into one word cost one load, one XOR and one store of
    // data instead of eight; the unrolled steps also let the processor overlap their loads.
    // The first keystream byte must meet the first data byte, which the word's low byte does
    // only on a little-endian machine (every platform this program is built for).
    static_assert(std::endian::native == std::endian::little);
    while (left >= 8) {
        std::uint64_t word = step();
        word |= step() << 8;
        word |= step() << 16;
        word |= step() << 24;
        word |= step() << 32;
        word |= step() << 40;
        word |= step() << 48;
        word |= step() << 56;
        std::uint64_t chunk;
        std::memcpy(&chunk, p, 8);
        chunk ^= word;
        std::memcpy(p, &chunk, 8);
        p += 8;
        left -= 8;
    }
    for (; left > 0; --left, ++p) {
        *p ^= static_cast<std::uint8_t>(step());
    }

    for (unsigned n = 0; n < 256; ++n) {
        state.S[n] = static_cast<std::uint8_t>(S[n]);
    }
    state.i = i;
    state.j = j;
    // The copy is key material too; volatile stores, so they are not dropped as dead writes.
    volatile std::uint32_t* const copy = S;
    for (unsigned n = 0; n < 256; ++n) {
        copy[n] = 0;
    }
}

}  // namespace cipher
