#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cipher/cipher.h"

namespace {

using Key = std::vector<std::uint8_t>;

Key FixedTail(std::uint8_t length) {
    return {'4', '2', 'm', 'o', 'R', 'v', 0xA5, static_cast<std::uint8_t>(0x40 + length)};
}

Key Concat(Key front, const Key& back) {
    front.insert(front.end(), back.begin(), back.end());
    return front;
}

TEST(BuildKey, EmptyPasswordGivesTheEightFixedBytes) {
    const auto key = cipher::BuildKey(u"");
    EXPECT_EQ(key.bytes, FixedTail(0));
    EXPECT_FALSE(key.cut);
}

TEST(BuildKey, AsciiPasswordComesFirstThenTheFixedPart) {
    EXPECT_EQ(cipher::BuildKey(u"Ab1").bytes, Concat({'A', 'b', '1'}, FixedTail(3)));
}

TEST(BuildKey, FortyEightUnitsAreKeptWholeAndTheFortyNinthIsCut) {
    const std::u16string whole(48, u'z');
    const auto kept = cipher::BuildKey(whole);
    EXPECT_EQ(kept.bytes, Concat(Key(48, 'z'), FixedTail(48)));
    EXPECT_EQ(kept.bytes.size(), 56u);
    EXPECT_FALSE(kept.cut);

    const auto cut = cipher::BuildKey(whole + u"q");
    EXPECT_EQ(cut.bytes, kept.bytes);
    EXPECT_TRUE(cut.cut);
    EXPECT_EQ(cipher::BuildKey(whole + u"something else entirely").bytes, kept.bytes);
}

TEST(BuildKey, CharactersUseWindows1252Codes) {
    // The 0x80..0x9F row is where the set differs from Latin-1; its five undefined codes
    // cannot be reached and show as '?'. The rest of the upper half is Latin-1.
    const std::u16string row =
        u"\u20AC?\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152?\u017D?"
        u"?\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153?\u017E\u0178";
    Key expected;
    for (unsigned code = 0x80; code <= 0x9F; ++code) {
        const bool undefined =
            code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
        expected.push_back(undefined ? '?' : static_cast<std::uint8_t>(code));
    }
    const auto prefix = [](const Key& key) { return Key(key.begin(), key.end() - 8); };
    EXPECT_EQ(prefix(cipher::BuildKey(row.substr(0, 16)).bytes),
              Key(expected.begin(), expected.begin() + 16));
    EXPECT_EQ(prefix(cipher::BuildKey(row.substr(16)).bytes),
              Key(expected.begin() + 16, expected.end()));
    EXPECT_EQ(cipher::BuildKey(u"\u20AC\u00E9\u017D\u00FF\u00A0").bytes,
              Concat({0x80, 0xE9, 0x8E, 0xFF, 0xA0}, FixedTail(5)));
}

TEST(BuildKey, UnitsWithoutACodeBecomeQuestionMarks) {
    // A character outside the set, and one outside the BMP, which takes two units and so two
    // places.
    EXPECT_EQ(cipher::BuildKey(u"\u0416\U0001F600").bytes, Concat({'?', '?', '?'}, FixedTail(3)));
    EXPECT_FALSE(cipher::EveryCharacterHasAKeyByte(u"ab\u0416"));
    EXPECT_FALSE(cipher::EveryCharacterHasAKeyByte(u"\U0001F600"));
    EXPECT_TRUE(cipher::EveryCharacterHasAKeyByte(u"\u20AC?\u00FF"));
}

// Windows's own code page 1252 gives the five codes it leaves undefined to U+0081, U+008D,
// U+008F, U+0090 and U+009D, and takes them back.
#ifndef _WIN32
TEST(BuildKey, TheC1ControlsHaveNoCodeOfTheirOwn) {
    // Units U+0080..U+009F are controls; the set puts other characters at those codes, so
    // none of them may pass through as its own number.
    std::u16string controls;
    for (char16_t unit = 0x80; unit <= 0x9F; ++unit) controls.push_back(unit);
    EXPECT_EQ(cipher::BuildKey(controls).bytes, Concat(Key(32, '?'), FixedTail(32)));
}
#endif

TEST(BuildKey, CutCountsUtf16UnitsAndMaySplitAPair) {
    const std::u16string password = std::u16string(47, u'a') + u"\U0001F600";
    const auto key = cipher::BuildKey(password);
    EXPECT_TRUE(key.cut);
    EXPECT_EQ(key.bytes, Concat(Concat(Key(47, 'a'), {'?'}), FixedTail(48)));
}

}  // namespace
