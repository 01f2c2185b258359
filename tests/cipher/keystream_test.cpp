#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string_view>
#include <vector>

#include "cipher/cipher.h"
#include "cipher/keystream_loops.h"

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// Textbook RC4, written out independently of the engine, as the yardstick for its one change.
std::vector<std::uint8_t> StandardRc4(const std::vector<std::uint8_t>& key, std::size_t count) {
    std::uint8_t S[256];
    std::iota(S, S + 256, 0);
    unsigned j = 0;
    for (unsigned n = 0; n < 256; ++n) {
        j = (j + S[n] + key[n % key.size()]) % 256;
        std::swap(S[n], S[j]);
    }
    unsigned i = 0;
    j = 0;
    std::vector<std::uint8_t> stream;
    for (std::size_t n = 0; n < count; ++n) {
        i = (i + 1) % 256;
        j = (j + S[i]) % 256;
        std::swap(S[i], S[j]);
        stream.push_back(S[(S[i] + S[j]) % 256]);
    }
    return stream;
}

std::vector<std::uint8_t> Stream(cipher::CipherState& state, std::size_t count) {
    std::vector<std::uint8_t> stream;
    for (std::size_t n = 0; n < count; ++n) {
        stream.push_back(cipher::NextKeyByte(state));
    }
    return stream;
}

cipher::CipherState Scheduled(const std::vector<std::uint8_t>& key) {
    cipher::CipherState state;
    cipher::KeySchedule(state, key);
    return state;
}

std::vector<std::uint8_t> Xor(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    for (std::size_t n = 0; n < a.size(); ++n) {
        a[n] ^= b[n];
    }
    return a;
}

TEST(Keystream, ReferenceMatchesPublishedRc4Vectors) {
    EXPECT_EQ(Xor(Bytes("Plaintext"), StandardRc4(Bytes("Key"), 9)),
              (std::vector<std::uint8_t>{0xBB, 0xF3, 0x16, 0xE8, 0xD9, 0x40, 0xAF, 0x0A, 0xD3}));
    EXPECT_EQ(Xor(Bytes("pedia"), StandardRc4(Bytes("Wiki"), 5)),
              (std::vector<std::uint8_t>{0x10, 0x21, 0xBF, 0x04, 0x20}));
}

TEST(Keystream, OutputStepIsStandardRc4OnceJIsReset) {
    // Proves the output step itself against published vectors, independently of where the
    // schedule leaves j.
    cipher::CipherState state = Scheduled(Bytes("Secret"));
    state.j = 0;
    EXPECT_EQ(Xor(Bytes("Attack at dawn"), Stream(state, 14)),
              (std::vector<std::uint8_t>{0x45, 0xA0, 0x1F, 0x64, 0x5F, 0xC3, 0x5B, 0x38, 0x35, 0x52,
                                         0x54, 0x4B, 0x9B, 0xF5}));
}

TEST(Keystream, EqualsStandardRc4ExactlyWhenTheScheduleEndsWithJZero) {
    std::vector<std::uint8_t> zeroKey;
    std::vector<std::uint8_t> otherKey;
    // About one key in 256 ends its schedule with j = 0; the search is bounded so that an
    // engine that always (or never) ends there fails instead of searching for ever.
    for (unsigned n = 0; n < 65536 && (zeroKey.empty() || otherKey.empty()); ++n) {
        const std::vector<std::uint8_t> key{static_cast<std::uint8_t>(n),
                                            static_cast<std::uint8_t>(n >> 8), 'k', 'e', 'y'};
        (Scheduled(key).j == 0 ? zeroKey : otherKey) = key;
    }
    ASSERT_FALSE(zeroKey.empty());
    ASSERT_FALSE(otherKey.empty());
    cipher::CipherState zero = Scheduled(zeroKey);
    EXPECT_EQ(zero.i, 0);
    EXPECT_EQ(Stream(zero, 64), StandardRc4(zeroKey, 64));
    cipher::CipherState other = Scheduled(otherKey);
    EXPECT_NE(Stream(other, 64), StandardRc4(otherKey, 64));
}

TEST(Keystream, ScheduleGivesAPermutationForShortestAndLongestKeys) {
    for (const std::size_t length :
         {std::size_t{1}, std::size_t{8}, std::size_t{56}, std::size_t{256}}) {
        std::vector<std::uint8_t> key(length);
        std::iota(key.begin(), key.end(), 7);
        cipher::CipherState state = Scheduled(key);
        auto sorted = state.S;
        std::sort(sorted.begin(), sorted.end());
        for (unsigned n = 0; n < 256; ++n) {
            ASSERT_EQ(sorted[n], n) << "key length " << length;
        }
    }
}

TEST(Keystream, SameKeyGivesSameStreamAndKeyMatters) {
    const auto key = cipher::BuildKey(u"").bytes;
    cipher::CipherState a = Scheduled(key);
    cipher::CipherState b = Scheduled(key);
    cipher::CipherState c = Scheduled(cipher::BuildKey(u"x").bytes);
    const auto streamA = Stream(a, 1000);
    EXPECT_EQ(streamA, Stream(b, 1000));
    EXPECT_NE(streamA, Stream(c, 1000));
}

TEST(Keystream, BulkEqualsByteByByteForEveryLengthAndSplit) {
    // The bulk path works eight bytes at a time: lengths around multiples of eight and calls
    // that resume mid-stream are where an unrolled loop goes wrong.
    const auto key = cipher::BuildKey(u"bulk").bytes;
    for (const std::size_t length : {0, 1, 7, 8, 9, 15, 16, 17, 255, 256, 257, 4099}) {
        for (const std::size_t split : {std::size_t{0}, std::size_t{3}, length / 2}) {
            if (split > length) {
                continue;
            }
            std::vector<std::uint8_t> data(length);
            std::iota(data.begin(), data.end(), 0);
            std::vector<std::uint8_t> expected = data;
            cipher::CipherState bulk = Scheduled(key);
            cipher::CipherState single = Scheduled(key);
            for (auto& byte : expected) {
                byte ^= cipher::NextKeyByte(single);
            }
            cipher::ApplyKeystream(bulk, std::span(data).first(split));
            cipher::ApplyKeystream(bulk, std::span(data).subspan(split));
            ASSERT_EQ(data, expected) << "length " << length << " split " << split;
            ASSERT_EQ(bulk.S, single.S);
            ASSERT_EQ(bulk.i, single.i);
            ASSERT_EQ(bulk.j, single.j);
        }
    }
}

// Each bulk loop this build has, from every position of i (the groups start at multiples of 8,
// 64 and 256, and must not run past the table's end), over lengths around those multiples.
TEST(Keystream, EveryBulkLoopEqualsByteByByteFromEveryPosition) {
    const cipher::CipherState scheduled = Scheduled(cipher::BuildKey(u"every position").bytes);
    for (const auto& [name, loop] : cipher::detail::BulkLoops()) {
        cipher::CipherState single = scheduled;
        for (unsigned lead = 0; lead < 256; ++lead, cipher::NextKeyByte(single)) {
            for (const std::size_t length :
                 {0, 1, 7, 8, 9, 63, 64, 65, 71, 72, 136, 255, 256, 257, 300, 777, 1100}) {
                cipher::CipherState expectedState = single;
                std::vector<std::uint8_t> data(length);
                std::iota(data.begin(), data.end(), static_cast<std::uint8_t>(lead));
                std::vector<std::uint8_t> expected = data;
                for (auto& byte : expected) {
                    byte ^= cipher::NextKeyByte(expectedState);
                }
                cipher::detail::WideState wide;
                std::copy(single.S.begin(), single.S.end(), wide.S);
                wide.i = single.i;
                wide.j = single.j;
                loop(wide, data);
                ASSERT_EQ(data, expected)
                    << name << " from i " << int{single.i} << " length " << length;
                ASSERT_TRUE(std::equal(expectedState.S.begin(), expectedState.S.end(), wide.S))
                    << name << " from i " << int{single.i} << " length " << length;
                ASSERT_EQ(wide.i, expectedState.i);
                ASSERT_EQ(wide.j, expectedState.j);
            }
        }
    }
}

}  // namespace
