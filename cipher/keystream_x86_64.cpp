// The bulk keystream on x86-64, with its steps scheduled by hand, in three loops that differ
// only in how a word's eight keystream bytes are gathered. Each step is seven and a half
// instructions (eight rotating, nine shifting) where the compiler makes thirteen: j is kept in
// a register whose upper bits stay zero, so an 8-bit add wraps it at 256 and it indexes the
// table as it is; and S[i] is addressed from the group's base, which needs no arithmetic on i.
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
// place in the code: groups of 8 steps replay each load 32 times as often as a whole turn of
// 256, and run at 2.8 against 1.6. Groups of
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
// fewer instructions a cycle, the rotating one would be the faster.
//
// Measured again the same day, every run starting from a fresh table (the variants whose
// output is wrong would otherwise wear it down), the least of 400 runs over 16 KiB, every
// variant's runs interleaved, in three such runs:
//
//   the pairs loop: two bytes a register, one rotation        1.35  1.37  1.39
//   the rotating loop                                          1.46  1.47  1.48
//   the shifting loop                                          1.48  1.51  1.52
//   pairs in four registers, joined by shifts and ors          1.36  1.37  1.39
//   pairs in two 32-bit halves, each XORed into the data       1.36  1.37  1.38
//   pairs XORed into the data 16 bits at a time                6.9   7.1
//   bytes stored one by one, XORed in 16 at a time after       1.49  1.53  1.53
//   rotating, S[j] moved to the half of the table i is not in  1.16  1.17  1.17   wrong output
//   shifting, the same                                         1.03  1.04  1.04   wrong output
//   S[i] loaded only once the j before it is known             4.01  4.05  4.06
//   S[i] loaded 2 to 5 steps ahead, once the j before that is
//     known, a branch to load it again when a j meets it       1.91 to 2.33 (one: 5.5)
//   the same 3 steps ahead, the branch never taken             1.17 to 1.22        wrong output
//
// With the stores to S[j] kept out of the way of the loads of S[i] to come, the same
// instructions take 20 to 31% less time: that is what the replays cost. Loading S[i] only once
// every store before it has its address costs seven cycles a step, so the processor's
// guessing is worth its misses. And a miss costs far more than its pipeline: the branch taken
// on one step in 256 added 0.28 ticks a byte, on eight in 256 1.19, which is 65 to 125 of the
// core's cycles each; the run-ahead the loop lives on is thrown away and built again. Trading
// the replays for branches therefore loses.
//
// What still pays is fewer instructions a step, which builds the run-ahead again sooner. The
// pairs write a byte into a register's lowest byte and the next into its second (al, then ah),
// and rotate once for both: twelve instructions a word where rotating takes sixteen and
// shifting twenty-two, and 7 to 9% less time than either. XORing each pair into the data on its
// own would save the rotations, but a load of half a doubleword waits for an earlier store into
// its other half. Many of Intel's processors keep a register's second byte apart from the rest
// and pay a merging step when the whole is read, and there the rotating or the shifting loop
// may be the faster. So all three are kept, and ChosenLoop() (keystream.cpp) times them at
// first use and runs the fastest.
#include "cipher/keystream_loops.h"

#ifdef TESSOMAR_KEYSTREAM_X86_64

namespace cipher::detail {
namespace {

enum class Gather { kPairs, kRotating, kShifting };

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

// Each gather puts the keystream byte of byte m of a word into the word register W: _FIRST
// for byte 0, _EVEN and _ODD for the others by the parity of m.

// Pairs: a byte of even m into W's lowest byte, the next into its second, and the pair rotated
// 16 bits right, so that after four pairs the first byte is the lowest, as the data's first.
// Writing the second byte needs a register with one (a, b, c or d) and an instruction without
// the prefix that the registers r8 to r15 take.
#define TESSOMAR_PAIRS_FIRST(W) "movb (%[s],%[x],4), %b[" #W "]\n\t"
#define TESSOMAR_PAIRS_EVEN(m, W) TESSOMAR_PAIRS_FIRST(W)
#define TESSOMAR_PAIRS_ODD(m, W)            \
    "movb (%[s],%[x],4), %h[" #W "]\n\t"    \
    "rorq $16, %[" #W "]\n\t"

// Rotating: each byte into W's lowest byte, and W rotated 8 bits right.
#define TESSOMAR_ROTATING_FIRST(W)          \
    "movb (%[s],%[x],4), %b[" #W "]\n\t"    \
    "rorq $8, %[" #W "]\n\t"
#define TESSOMAR_ROTATING_EVEN(m, W) TESSOMAR_ROTATING_FIRST(W)
#define TESSOMAR_ROTATING_ODD(m, W) TESSOMAR_ROTATING_FIRST(W)

// Shifting: each byte shifted to its place and or-ed into W; the first starts W afresh.
#define TESSOMAR_SHIFTING_FIRST(W) "movzbl (%[s],%[x],4), %k[" #W "]\n\t"
#define TESSOMAR_SHIFTING_EVEN(m, W)        \
    "movzbl (%[s],%[x],4), %k[x]\n\t"       \
    "shlq $8*" #m ", %[x]\n\t"              \
    "orq %[x], %[" #W "]\n\t"
#define TESSOMAR_SHIFTING_ODD(m, W) TESSOMAR_SHIFTING_EVEN(m, W)

// Eight steps from entry q + 8n of the base, gathered in W, and their keystream word XORed
// into the data's bytes q + 8n to q + 8n + 7.
#define TESSOMAR_WORD(G, q, n, W, a, b, c, d, e, f, g, h)                                   \
    TESSOMAR_SWAP(q, a) G##_FIRST(W) TESSOMAR_SWAP(q, b) G##_ODD(1, W)                      \
    TESSOMAR_SWAP(q, c) G##_EVEN(2, W) TESSOMAR_SWAP(q, d) G##_ODD(3, W)                    \
    TESSOMAR_SWAP(q, e) G##_EVEN(4, W) TESSOMAR_SWAP(q, f) G##_ODD(5, W)                    \
    TESSOMAR_SWAP(q, g) G##_EVEN(6, W) TESSOMAR_SWAP(q, h) G##_ODD(7, W)                    \
    "xorq %[" #W "], " #q "+" #n "*8(%[p])\n\t"

#define TESSOMAR_8_STEPS(G, q) TESSOMAR_WORD(G, q, 0, w, 0, 1, 2, 3, 4, 5, 6, 7)

// The words alternate between two registers, so that one word's gathering need not wait for
// the last one's.
#define TESSOMAR_64_STEPS(G, q)                               \
    TESSOMAR_WORD(G, q, 0, w, 0, 1, 2, 3, 4, 5, 6, 7)         \
    TESSOMAR_WORD(G, q, 1, v, 8, 9, 10, 11, 12, 13, 14, 15)   \
    TESSOMAR_WORD(G, q, 2, w, 16, 17, 18, 19, 20, 21, 22, 23) \
    TESSOMAR_WORD(G, q, 3, v, 24, 25, 26, 27, 28, 29, 30, 31) \
    TESSOMAR_WORD(G, q, 4, w, 32, 33, 34, 35, 36, 37, 38, 39) \
    TESSOMAR_WORD(G, q, 5, v, 40, 41, 42, 43, 44, 45, 46, 47) \
    TESSOMAR_WORD(G, q, 6, w, 48, 49, 50, 51, 52, 53, 54, 55) \
    TESSOMAR_WORD(G, q, 7, v, 56, 57, 58, 59, 60, 61, 62, 63)

#define TESSOMAR_256_STEPS(G)                                   \
    TESSOMAR_64_STEPS(G, 0) TESSOMAR_64_STEPS(G, 64)            \
    TESSOMAR_64_STEPS(G, 128) TESSOMAR_64_STEPS(G, 192)

// The table and the byte index are in registers a to d, si, di or bp ("R"), and the words in
// a to d ("Q"), as the pairs' second bytes need.
#define TESSOMAR_OPERANDS                                                            \
    : [j] "+r"(j), [x] "=&R"(x), [y] "=&r"(y), [w] "+Q"(w), [v] "+Q"(v)             \
    : [s] "R"(state.S), [b] "r"(state.S + static_cast<std::uint8_t>(state.i + 1)), \
      [p] "r"(p)                                                                     \
    : "memory", "cc"

#define TESSOMAR_GROUP(G)                                                \
    if constexpr (STEPS == 8) {                                          \
        __asm__ volatile(TESSOMAR_8_STEPS(G, 0) TESSOMAR_OPERANDS);      \
    } else if constexpr (STEPS == 64) {                                  \
        __asm__ volatile(TESSOMAR_64_STEPS(G, 0) TESSOMAR_OPERANDS);     \
    } else {                                                             \
        __asm__ volatile(TESSOMAR_256_STEPS(G) TESSOMAR_OPERANDS);       \
    }

// clang-format on

// Steps i + 1 to i + STEPS, which must not wrap past the table's end.
template <unsigned STEPS, Gather GATHER>
void Group(WideState& state, std::uint8_t* p) {
    static_assert(STEPS == 8 || STEPS == 64 || STEPS == 256);
    std::uint64_t j = state.j;  // the upper bits must be zero: j indexes the table
    std::uint64_t x;
    std::uint64_t y;
    // Every byte of a word is written before the word is used; the pairs merely write into
    // what the registers held.
    std::uint64_t w = 0;
    std::uint64_t v = 0;
    if constexpr (GATHER == Gather::kPairs) {
        TESSOMAR_GROUP(TESSOMAR_PAIRS)
    } else if constexpr (GATHER == Gather::kRotating) {
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
#undef TESSOMAR_SHIFTING_ODD
#undef TESSOMAR_SHIFTING_EVEN
#undef TESSOMAR_SHIFTING_FIRST
#undef TESSOMAR_ROTATING_ODD
#undef TESSOMAR_ROTATING_EVEN
#undef TESSOMAR_ROTATING_FIRST
#undef TESSOMAR_PAIRS_ODD
#undef TESSOMAR_PAIRS_EVEN
#undef TESSOMAR_PAIRS_FIRST
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

void ApplyKeystreamPairs(WideState& state, std::span<std::uint8_t> data) {
    Apply<Gather::kPairs>(state, data);
}

void ApplyKeystreamRotating(WideState& state, std::span<std::uint8_t> data) {
    Apply<Gather::kRotating>(state, data);
}

void ApplyKeystreamShifting(WideState& state, std::span<std::uint8_t> data) {
    Apply<Gather::kShifting>(state, data);
}

}  // namespace cipher::detail

#endif
