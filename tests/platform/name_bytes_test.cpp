// Linux names are bytes: valid UTF-8 becomes the program's text, and every other byte comes
// back from the text as it was, so each name on disk is opened under its own bytes.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace {

TEST(Names, Utf8NamesBecomeUtf16Text) {
    EXPECT_EQ(platform::FromNative("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"),
              u"caf\u00E9 \u20AC \U0001F600");
    EXPECT_EQ(platform::ToNative(u"caf\u00E9 \u20AC \U0001F600"),
              "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
}

TEST(Names, EveryByteStringSurvivesTheTripThroughText) {
    // Latin-1 bytes, a cut sequence, an overlong form, an encoded surrogate, a code point
    // beyond U+10FFFF, and the escape units' own UTF-8-like encoding.
    const std::vector<std::string> names{
        "caf\xE9",          "\xC3",         "a\xE2\x82z",     "\xC0\xAF", "\xED\xA0\x80",
        "\xF4\x90\x80\x80", "\xED\xB2\x80", "\xFF\xFE plain", "",
    };
    for (const std::string& name : names) {
        const std::u16string text = platform::FromNative(name);
        EXPECT_EQ(platform::ToNative(text), name);
    }
    EXPECT_EQ(platform::FromNative("caf\xE9"), u"caf\xDCE9");
}

TEST(Names, LoneSurrogatesNoNameProducedBecomeReplacementCharacters) {
    EXPECT_EQ(platform::ToNative(std::u16string{u'a', char16_t(0xD800), u'b'}),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(platform::ToNative(std::u16string{char16_t(0xDC41)}), "\xEF\xBF\xBD");
}

TEST(Names, MalformedBytesNeverReadAsAnotherRealName) {
    // Overlong forms, encoded surrogates, values past U+10FFFF and cut sequences each come
    // back as escape units, never as the character a lax decoder would make of them.
    const std::vector<std::pair<std::string, std::u16string>> cases{
        {"\xE0\x81\x81", u"\xDCE0\xDC81\xDC81"},            // overlong 'A'
        {"\xC1\x81", u"\xDCC1\xDC81"},                      // overlong 'A', two bytes
        {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},            // encoded U+D800
        {"\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},  // U+110000
        {"ab\xE2\x82", u"ab\xDCE2\xDC82"},                  // cut euro sign
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(platform::FromNative(bytes), text);
        EXPECT_EQ(platform::ToNative(text), bytes);
    }
}

}  // namespace
