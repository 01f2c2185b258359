// The bulk keystream on x86-64, with its steps scheduled by hand. Each step is eight
// instructions where the compiler makes thirteen: j is kept in a register whose upper bits stay
// zero, so an 8-bit add wraps it at 256 and it indexes the table as it is; S[i] is addressed
// from the group's base, which needs no arithmetic on i; and each keystream byte is loaded into
// the low byte of the gathered word and rotated into place.
#include "cipher/keystream_loops.h"

#ifdef TESSOMAR_KEYSTREAM_X86_64

namespace cipher::detail {
namespace {

// One step, with i + k as the entry k of the group's base b: x = S[i], j += x, y = S[j],
// the swap, then the keystream byte S[x + y] (in 8 bits) into the low byte of w, which is
// rotated right so that after eight steps the first byte is the lowest, as the data's first.
#define TESSOMAR_STEP(k)                     \
    "movl " #k "*4(%[b]), %k[x]\n\t"         \
    "addb %b[x], %b[j]\n\t"                  \
    "movl (%[s],%[j],4), %k[y]\n\t"          \
    "movl %k[x], (%[s],%[j],4)\n\t"          \
    "movl %k[y], " #k "*4(%[b])\n\t"         \
    "addb %b[y], %b[x]\n\t"                  \
    "movb (%[s],%[x],4), %b[w]\n\t"          \
    "rorq $8, %[w]\n\t"

// Eight steps from entry 8n of the base, and their keystream word XORed into data word n.
#define TESSOMAR_WORD(n, a, b, c, d, e, f, g, h)                                          \
    TESSOMAR_STEP(a) TESSOMAR_STEP(b) TESSOMAR_STEP(c) TESSOMAR_STEP(d) TESSOMAR_STEP(e) \
    TESSOMAR_STEP(f) TESSOMAR_STEP(g) TESSOMAR_STEP(h) "xorq %[w], " #n "*8(%[p])\n\t"

#define TESSOMAR_OPERANDS                                                   \
    : [j] "+r"(j), [x] "=&r"(x), [y] "=&r"(y), [w] "+r"(w)                 \
    : [s] "r"(state.S), [b] "r"(state.S + static_cast<std::uint8_t>(state.i + 1)), \
      [p] "r"(p)                                                            \
    : "memory", "cc"

// Steps i + 1 to i + STEPS, which must not wrap past the table's end.
template <unsigned STEPS>
void Group(WideState& state, std::uint8_t* p) {
    static_assert(STEPS == 8 || STEPS == 64);
    std::uint64_t j = state.j;  // the upper bits must be zero: j indexes the table
    std::uint64_t x;
    std::uint64_t y;
    std::uint64_t w = 0;
    if constexpr (STEPS == 8) {
        __asm__ volatile(TESSOMAR_WORD(0, 0, 1, 2, 3, 4, 5, 6, 7) TESSOMAR_OPERANDS);
    } else {
        __asm__ volatile(TESSOMAR_WORD(0, 0, 1, 2, 3, 4, 5, 6, 7)
                         TESSOMAR_WORD(1, 8, 9, 10, 11, 12, 13, 14, 15)
                         TESSOMAR_WORD(2, 16, 17, 18, 19, 20, 21, 22, 23)
                         TESSOMAR_WORD(3, 24, 25, 26, 27, 28, 29, 30, 31)
                         TESSOMAR_WORD(4, 32, 33, 34, 35, 36, 37, 38, 39)
                         TESSOMAR_WORD(5, 40, 41, 42, 43, 44, 45, 46, 47)
                         TESSOMAR_WORD(6, 48, 49, 50, 51, 52, 53, 54, 55)
                         TESSOMAR_WORD(7, 56, 57, 58, 59, 60, 61, 62, 63) TESSOMAR_OPERANDS);
    }
    state.i = static_cast<std::uint8_t>(state.i + STEPS);
    state.j = static_cast<std::uint8_t>(j);
}

#undef TESSOMAR_OPERANDS
#undef TESSOMAR_WORD
#undef TESSOMAR_STEP

}  // namespace

void ApplyKeystreamX86_64(WideState& state, std::span<std::uint8_t> data) {
    std::uint8_t* p = data.data();
    std::size_t left = data.size();
    // A group's steps run from a multiple of its size: single steps reach a multiple of 8,
    // groups of 8 a multiple of 64. Calls come a progress step (10000 bytes) at a time, so
    // this costs at most 7 single steps and 7 short groups per call.
    for (; left > 0 && (state.i + 1) % 8 != 0; --left, ++p) {
        *p ^= NextWideKeyByte(state.S, state.i, state.j);
    }
    for (; left >= 8 && (state.i + 1) % 64 != 0; left -= 8, p += 8) {
        Group<8>(state, p);
    }
    for (; left >= 64; left -= 64, p += 64) {
        Group<64>(state, p);
    }
    for (; left >= 8; left -= 8, p += 8) {
        Group<8>(state, p);
    }
    for (; left > 0; --left, ++p) {
        *p ^= NextWideKeyByte(state.S, state.i, state.j);
    }
}

}  // namespace cipher::detail

#endif
