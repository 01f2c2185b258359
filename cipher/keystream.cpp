#include "cipher/cipher.h"
#include "cipher/keystream_loops.h"

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
    detail::WideKeystream(state).Apply(data);
}

namespace detail {

WideKeystream::WideKeystream(CipherState& state) : state_(state) {
    for (unsigned n = 0; n < 256; ++n) {
        wide_.S[n] = state.S[n];
    }
    wide_.i = state.i;
    wide_.j = state.j;
}

WideKeystream::~WideKeystream() {
    for (unsigned n = 0; n < 256; ++n) {
        state_.S[n] = static_cast<std::uint8_t>(wide_.S[n]);
    }
    state_.i = wide_.i;
    state_.j = wide_.j;
    // Volatile stores, so that they are not dropped as dead writes.
    volatile std::uint32_t* const copy = wide_.S;
    for (unsigned n = 0; n < 256; ++n) {
        copy[n] = 0;
    }
}

void WideKeystream::Apply(std::span<std::uint8_t> data) {
#ifdef TESSOMAR_KEYSTREAM_X86_64
    ApplyKeystreamX86_64(wide_, data);
#else
    ApplyKeystreamPortable(wide_, data);
#endif
}

}  // namespace detail

}  // namespace cipher
