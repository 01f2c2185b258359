// The keystream's bulk loops, for ApplyKeystream, the transform and their tests. They work on
// the state with its table widened to 32-bit entries: with the table and indices in locals the
// compiler knows the data cannot alias them, and with 32-bit entries the hand-scheduled loops
// run 5 to 10% faster than with one byte an entry (keystream_x86_64.cpp has the numbers).
#pragma once

#include <cstdint>
#include <span>

#include "cipher/cipher.h"

namespace cipher::detail {

// Wiped when it goes, as the state it is widened from.
struct WideState {
    std::uint32_t S[256];
    std::uint8_t i;
    std::uint8_t j;
    ~WideState();
};

// One keystream byte, as NextKeyByte gives it. The loops keep i and j in locals of their own:
// the data is bytes, which the compiler must otherwise assume may overlap the state.
inline std::uint8_t NextWideKeyByte(std::uint32_t* S, std::uint8_t& i, std::uint8_t& j) {
    ++i;
    const std::uint32_t x = S[i];
    j = static_cast<std::uint8_t>(j + x);
    const std::uint32_t y = S[j];
    S[j] = x;
    S[i] = y;
    return static_cast<std::uint8_t>(S[static_cast<std::uint8_t>(x + y)]);
}

// XORs the next data.size() keystream bytes into data, in C++ alone: the loop of every build.
void ApplyKeystreamPortable(WideState& state, std::span<std::uint8_t> data);

#if defined(__x86_64__) && defined(__GNUC__)
#define TESSOMAR_KEYSTREAM_X86_64 1
// The same on x86-64 with GCC or Clang, with hand-scheduled steps, in three ways of gathering
// the keystream bytes of a word, for processors that differ in what writing part of a register
// costs (keystream_x86_64.cpp).
void ApplyKeystreamPairs(WideState& state, std::span<std::uint8_t> data);
void ApplyKeystreamRotating(WideState& state, std::span<std::uint8_t> data);
void ApplyKeystreamShifting(WideState& state, std::span<std::uint8_t> data);
#endif

using BulkLoop = void (*)(WideState& state, std::span<std::uint8_t> data);

struct NamedLoop {
    const char* name;
    BulkLoop apply;
};

// Every bulk loop this build has.
std::span<const NamedLoop> BulkLoops();

// The loop that runs: the C++ loop where it is the only one; on x86-64 the fastest of the
// hand-scheduled ones on this processor, each timed over a small buffer once per process, at
// first use (about a third of a millisecond). Every loop gives the same bytes, so the choice
// changes only the speed.
BulkLoop ChosenLoop();

// A state widened for the bulk loops for as long as this lives, so that a run that enciphers
// a progress step at a time widens it once; written back into the state at the end.
class WideKeystream {
public:
    explicit WideKeystream(CipherState& state);
    ~WideKeystream();
    WideKeystream(const WideKeystream&) = delete;
    WideKeystream& operator=(const WideKeystream&) = delete;

    // XORs the next data.size() keystream bytes into data.
    void Apply(std::span<std::uint8_t> data);

private:
    CipherState& state_;
    WideState wide_;
};

}  // namespace cipher::detail
