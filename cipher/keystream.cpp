#include <algorithm>
#include <chrono>
#include <vector>

#include "cipher/cipher.h"
#include "cipher/keystream_loops.h"
#include "cipher/wipe.h"

namespace cipher {

CipherState::~CipherState() { Wipe(this, sizeof(*this)); }

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

namespace {

constexpr NamedLoop kLoops[] = {
#ifdef TESSOMAR_KEYSTREAM_X86_64
    {"pairs", ApplyKeystreamPairs},
    {"rotating", ApplyKeystreamRotating},
    {"shifting", ApplyKeystreamShifting},
#endif
    {"portable", ApplyKeystreamPortable},
};

// The loops the choice is made among, the first of kLoops: the hand-scheduled ones where there
// are any, for the C++ loop takes 40 to 50% longer than any of them (keystream_x86_64.cpp).
#ifdef TESSOMAR_KEYSTREAM_X86_64
constexpr std::size_t kContenders = 3;
#else
constexpr std::size_t kContenders = 1;
#endif

// Each contender over 16 KiB, six times in turn, the first run of each not counted (it brings
// the code into the cache); the least time of each is compared, so that an interruption by
// another process in one run does not decide.
BulkLoop Fastest() {
    if constexpr (kContenders == 1) {
        return kLoops[0].apply;
    }
    constexpr std::uint8_t kKey[] = {'t', 'i', 'm', 'i', 'n', 'g'};
    CipherState scheduled;
    KeySchedule(scheduled, kKey);
    WideState wide;
    std::copy(scheduled.S.begin(), scheduled.S.end(), wide.S);
    wide.i = scheduled.i;
    wide.j = scheduled.j;
    std::vector<std::uint8_t> buffer(std::size_t{16} << 10);
    std::chrono::steady_clock::duration least[kContenders];
    std::fill(std::begin(least), std::end(least), std::chrono::steady_clock::duration::max());
    for (int round = 0; round < 6; ++round) {
        for (std::size_t n = 0; n < kContenders; ++n) {
            const auto start = std::chrono::steady_clock::now();
            kLoops[n].apply(wide, buffer);
            const auto took = std::chrono::steady_clock::now() - start;
            if (round > 0) {
                least[n] = std::min(least[n], took);
            }
        }
    }
    return kLoops[std::min_element(std::begin(least), std::end(least)) - std::begin(least)].apply;
}

}  // namespace

std::span<const NamedLoop> BulkLoops() { return kLoops; }

BulkLoop ChosenLoop() {
    static const BulkLoop chosen = Fastest();
    return chosen;
}

WideState::~WideState() { Wipe(this, sizeof(*this)); }

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
}

void WideKeystream::Apply(std::span<std::uint8_t> data) { ChosenLoop()(wide_, data); }

}  // namespace detail

}  // namespace cipher
