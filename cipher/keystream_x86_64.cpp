// The bulk keystream on x86-64, with its steps scheduled by hand, in two loops that differ only
// in how a word's eight keystream bytes are gathered. Each step is eight instructions (nine
// when shifting) where the compiler makes thirteen: j is kept in a register whose upper bits
// stay zero, so an 8-bit add wraps it at 256 and it indexes the table as it is; and S[i] is
// addressed from the group's base, which needs no arithmetic on i.
//
// Where the time goes, measured on an AMD EPYC (family 26, model 2; a 2-core virtual machine
// whose core runs at about 1.72 times its 2.1 GHz time-stamp counter), 9 December 2026: ticks
// of the time-stamp counter a byte, the least of 400 runs over 16 KiB, every variant's runs
// interleaved, in two such runs:
//
//   this file's loop until then, groups of 64 steps          1.75  1.73
//   the same in groups of 8 steps                            2.82  2.82
//   the same in groups of 128 steps                          1.64  1.63
//   the same in groups of 256 steps, a whole turn of i       1.58  1.58   the rotating loop
//   the same in groups of 512 steps                          1.57  1.56
//   groups of 64, S[i] stored before S[j]                    1.75  1.75
//   groups of 256, one byte a table entry                    1.66  1.69
//   the same, the bytes gathered with pinsrb (SSE4.1)        1.62  1.61
//   groups of 256, bytes shifted into place and or-ed        1.56  1.60   the shifting loop
//   the same into two words, joined at the end               1.59  1.60
//   each keystream byte XORed into the data on its own       7.18  7.16
//   S[i + 1] loaded 2 steps ahead, a branch if j meets it    1.89  1.93
//   the same, 3 steps ahead                                  2.01  2.01
//   the C++ loop (keystream_portable.cpp)                    2.19  2.19
//   the C++ loop, one byte a table entry                     2.11  2.12
//   the C++ loop, unrolled over a whole turn                 2.01  2.04
//   OpenSSL's RC4(), for comparison                          2.42  2.60
//
// The rotating loop's 1.58 is about 2.7 of the core's cycles a byte, against the one cycle
// that its two stores a byte would allow. The swap is what costs, not the instructions: in
// variants kept out of the program (their output is wrong), the same steps without the two
// stores take 1.08, and with the store to S[j] sent to a table of its own, 0.77. The likeliest
// reading: a load of S[i] placed after a store to S[j] whose address is not known yet is run
// ahead of it anyway, and now and then j was an i a few steps on, so that the processor must
// throw away the steps after it and run them again. How often it risks that is what its
// memory-dependence predictor remembers of each load, and that memory is kept by the load's
// place in the code: groups of 8 steps replay
// each load 32 times as often as a whole turn of 256, and run at 2.8 against 1.6. Groups of
// 512 gain another 1% for twice the code. Loading S[i + 1] before the stores by hand, with a
// branch to load it again when j meets it, only trades those replays for mispredicted
// branches.
//
// The gathers: rotating a byte into the word's low end is two instructions a byte, each
// waiting for the last (a chain of two cycles a byte through the word); shifting each byte to
// its place and or-ing it in is three, in no chain. With the stores taken out the shifting
// loop runs at 0.85 and the rotating one at 1.08, which is the chain. Here the two are within
// 3% of each other, in either order from run to run; on a processor that loses less to the
// swap, the rotating one is held to two cycles a byte and the shifting one is not; on one with
// fewer instructions a cycle, the rotating one would be the faster. So both are kept, and
// ChosenLoop() (keystream.cpp) times them at first use and runs the faster.
#include "cipher/keystream_loops.h"

#ifdef TESSOMAR_KEYSTREAM_X86_64

namespace cipher::detail {
namespace {

enum class Gather { kRotating, kShifting };

// The instructions are laid out by hand, one to a line, as an assembler listing reads.
// clang-format off
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

// clang-format on

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
