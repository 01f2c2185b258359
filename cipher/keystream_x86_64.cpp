// The bulk keystream on x86-64, with its steps scheduled by hand, in two loops that differ only
// in how a word's eight keystream bytes are gathered. Each step is eight instructions (nine
// when shifting) where the compiler makes thirteen: j is kept in a register whose upper bits
// stay zero, so an 8-bit add wraps it at 256 and it indexes the table as it is; and S[i] is
// addressed from the group's base, which needs no arithmetic on i.
//
// Where the time goes, measured on an AMD EPYC (family 26, model 2; 2-core virtual machine,
// its core at about 1.72 times its 2.1 GHz time-stamp counter), 9 December 2026, in time-stamp
// ticks a byte, the least of 400 interleaved runs over 16 KiB (a second such run in brackets):
//
//   this file's loop until then, groups of 64 steps          1.65 to 1.72
//   the same in groups of 8 steps                            2.66 to 2.81
//   the same in groups of 128 steps                          1.54 to 1.59
//   the same in groups of 256 steps (a whole turn of i)      1.49 to 1.55    <- ROTATING
//   the same in groups of 512 steps                          1.47 to 1.53
//   the same, S[i] stored before S[j]                        same as above
//   one byte a table entry, gathered the same way            1.60 to 1.70
//   one byte a table entry, gathered with pinsrb (SSE4.1)    1.54 to 1.64
//   32-bit entries, gathered with movzbl, shift and or       1.51 to 1.61    <- SHIFTING
//   each keystream byte XORed into the data on its own       6.30
//   S[i + 1] loaded steps ahead, a branch when j meets it    1.71 to 1.98
//   the C++ loop (keystream_portable.cpp), 32-bit entries    1.99 to 2.09
//   the C++ loop, one byte an entry                          1.97 to 2.03
//   OpenSSL's RC4(), for comparison                          1.92 to 2.46
//
// The swap is what costs, not the instructions. Without its two stores the same steps take
// 1.01; with the store to S[j] sent to a table of its own, 0.74. A load of S[i] that comes
// after a store to S[j] not yet resolved is run ahead of it, and about one time in a hundred
// j is an i a few steps on, so the processor must throw the steps after it away and run them
// again. How often it risks that depends on what its memory-dependence predictor remembers
// of each load, and a load's own history is kept by its place in the code: a group of 8
// steps replays each load 32 times as often as a whole turn of 256, and runs at 2.7 against
// 1.5. Loading S[i] before the stores by hand, and taking a branch when j meets it, trades
// each of those replays for a mispredicted branch and gains nothing here.
//
// The gathers: rotating a byte into the word's low end is two instructions a byte, but each
// waits for the last (two cycles a byte, a chain through the word); shifting each byte to its
// place and or-ing it in is three, none of them in a chain. With the stores taken out, the
// shifting loop runs at 0.82 and the rotating one at 1.01, which is the chain. So which of the
// two is faster depends on how well a processor copes with the swap: here the rotating loop
// wins by 1 to 3%, on a processor that loses less to the stores the shifting one would.
// ChosenLoop() (keystream.cpp) times both at first use and runs the faster.
#include "cipher/keystream_loops.h"

#ifdef TESSOMAR_KEYSTREAM_X86_64

namespace cipher::detail {
namespace {

enum class Gather { kRotating, kShifting };

// The swap of one step, with i + q + k as the entry q + k of the group's base b: x = S[i],
// j += x, y = S[j], S[j] = x, S[i] = y, and x + y (in 8 bits), the entry of the keystream
// byte, in x.
#define TESSOMAR_SWAP(q, k)                   \
    "movl " #q "*4+" #k "*4(%[b]), %k[x]\n\t" \
    "addb %b[x], %b[j]\n\t"                   \
    "movl (%[s],%[j],4), %k[y]\n\t"           \
    "movl %k[x], (%[s],%[j],4)\n\t"           \
    "movl %k[y], " #q "*4+" #k "*4(%[b])\n\t" \
    "addb %b[y], %b[x]\n\t"

// The keystream byte of byte m of the word into the low byte of w, which is rotated right, so
// that after eight steps the first byte is the lowest, as the data's first.
#define TESSOMAR_ROTATING(m)             \
    "movb (%[s],%[x],4), %b[w]\n\t"      \
    "rorq $8, %[w]\n\t"
#define TESSOMAR_ROTATING_FIRST TESSOMAR_ROTATING(0)

// The keystream byte of byte m of the word shifted to its place and or-ed into w; the first
// starts the word afresh.
#define TESSOMAR_SHIFTING(m)             \
    "movzbl (%[s],%[x],4), %k[x]\n\t"    \
    "shlq $8*" #m ", %[x]\n\t"           \
    "orq %[x], %[w]\n\t"
#define TESSOMAR_SHIFTING_FIRST "movzbl (%[s],%[x],4), %k[w]\n\t"

// Eight steps from entry q + 8n of the base, and their keystream word XORed into the data's
// bytes q + 8n to q + 8n + 7.
#define TESSOMAR_WORD(GATHER, q, n, a, b, c, d, e, f, g, h)                           \
    TESSOMAR_SWAP(q, a) GATHER##_FIRST TESSOMAR_SWAP(q, b) GATHER(1)                  \
    TESSOMAR_SWAP(q, c) GATHER(2) TESSOMAR_SWAP(q, d) GATHER(3) TESSOMAR_SWAP(q, e)   \
    GATHER(4) TESSOMAR_SWAP(q, f) GATHER(5) TESSOMAR_SWAP(q, g) GATHER(6)             \
    TESSOMAR_SWAP(q, h) GATHER(7) "xorq %[w], " #q "+" #n "*8(%[p])\n\t"

#define TESSOMAR_8_STEPS(GATHER, q) TESSOMAR_WORD(GATHER, q, 0, 0, 1, 2, 3, 4, 5, 6, 7)

#define TESSOMAR_64_STEPS(GATHER, q)                               \
    TESSOMAR_WORD(GATHER, q, 0, 0, 1, 2, 3, 4, 5, 6, 7)            \
    TESSOMAR_WORD(GATHER, q, 1, 8, 9, 10, 11, 12, 13, 14, 15)      \
    TESSOMAR_WORD(GATHER, q, 2, 16, 17, 18, 19, 20, 21, 22, 23)    \
    TESSOMAR_WORD(GATHER, q, 3, 24, 25, 26, 27, 28, 29, 30, 31)    \
    TESSOMAR_WORD(GATHER, q, 4, 32, 33, 34, 35, 36, 37, 38, 39)    \
    TESSOMAR_WORD(GATHER, q, 5, 40, 41, 42, 43, 44, 45, 46, 47)    \
    TESSOMAR_WORD(GATHER, q, 6, 48, 49, 50, 51, 52, 53, 54, 55)    \
    TESSOMAR_WORD(GATHER, q, 7, 56, 57, 58, 59, 60, 61, 62, 63)

#define TESSOMAR_256_STEPS(GATHER)                                                 \
    TESSOMAR_64_STEPS(GATHER, 0) TESSOMAR_64_STEPS(GATHER, 64)                     \
    TESSOMAR_64_STEPS(GATHER, 128) TESSOMAR_64_STEPS(GATHER, 192)

#define TESSOMAR_OPERANDS                                                   \
    : [j] "+r"(j), [x] "=&r"(x), [y] "=&r"(y), [w] "+r"(w)                 \
    : [s] "r"(state.S), [b] "r"(state.S + static_cast<std::uint8_t>(state.i + 1)), \
      [p] "r"(p)                                                            \
    : "memory", "cc"

#define TESSOMAR_GROUP(GATHER)                                                \
    if constexpr (STEPS == 8) {                                               \
        __asm__ volatile(TESSOMAR_8_STEPS(GATHER, 0) TESSOMAR_OPERANDS);      \
    } else if constexpr (STEPS == 64) {                                       \
        __asm__ volatile(TESSOMAR_64_STEPS(GATHER, 0) TESSOMAR_OPERANDS);     \
    } else {                                                                  \
        __asm__ volatile(TESSOMAR_256_STEPS(GATHER) TESSOMAR_OPERANDS);       \
    }

// Steps i + 1 to i + STEPS, which must not wrap past the table's end.
template <unsigned STEPS, Gather GATHER>
void Group(WideState& state, std::uint8_t* p) {
    static_assert(STEPS == 8 || STEPS == 64 || STEPS == 256);
    std::uint64_t j = state.j;  // the upper bits must be zero: j indexes the table
    std::uint64_t x;
    std::uint64_t y;
    std::uint64_t w = 0;
    if constexpr (GATHER == Gather::kRotating) {
        TESSOMAR_GROUP(TESSOMAR_ROTATING)
    } else {
        TESSOMAR_GROUP(TESSOMAR_SHIFTING)
    }
    state.i = static_cast<std::uint8_t>(state.i + STEPS);
    state.j = static_cast<std::uint8_t>(j);
}

#undef TESSOMAR_GROUP
#undef TESSOMAR_OPERANDS
#undef TESSOMAR_256_STEPS
#undef TESSOMAR_64_STEPS
#undef TESSOMAR_8_STEPS
#undef TESSOMAR_WORD
#undef TESSOMAR_SHIFTING_FIRST
#undef TESSOMAR_SHIFTING
#undef TESSOMAR_ROTATING_FIRST
#undef TESSOMAR_ROTATING
#undef TESSOMAR_SWAP

template <Gather GATHER>
void Apply(WideState& state, std::span<std::uint8_t> data) {
    std::uint8_t* p = data.data();
    std::size_t left = data.size();
    // A group's steps run from a multiple of its size: single steps reach a multiple of 8,
    // groups of 8 a multiple of 64, groups of 64 the table's start. Calls come a progress
    // step (10000 bytes) at a time, so this costs at most 7 single steps, 7 short groups and
    // 3 groups of 64 at each end of a call.
    for (; left > 0 && (state.i + 1) % 8 != 0; --left, ++p) {
        *p ^= NextWideKeyByte(state.S, state.i, state.j);
    }
    for (; left >= 8 && (state.i + 1) % 64 != 0; left -= 8, p += 8) {
        Group<8, GATHER>(state, p);
    }
    for (; left >= 64 && (state.i + 1) % 256 != 0; left -= 64, p += 64) {
        Group<64, GATHER>(state, p);
    }
    for (; left >= 256; left -= 256, p += 256) {
        Group<256, GATHER>(state, p);
    }
    for (; left >= 64; left -= 64, p += 64) {
        Group<64, GATHER>(state, p);
    }
    for (; left >= 8; left -= 8, p += 8) {
        Group<8, GATHER>(state, p);
    }
    for (; left > 0; --left, ++p) {
        *p ^= NextWideKeyByte(state.S, state.i, state.j);
    }
}

}  // namespace

void ApplyKeystreamRotating(WideState& state, std::span<std::uint8_t> data) {
    Apply<Gather::kRotating>(state, data);
}

void ApplyKeystreamShifting(WideState& state, std::span<std::uint8_t> data) {
    Apply<Gather::kShifting>(state, data);
}

}  // namespace cipher::detail

#endif
