#include "remembered/first_field.h"

#include <gtest/gtest.h>

#include <string>

namespace remembered {
namespace {

using namespace std::string_literals;

TEST(FirstField, EndsAtTheFirstCommaOrLineEnd) {
    EXPECT_EQ(FirstField("/home/ann/letters\r\n/second\r\n", true), "/home/ann/letters");
    EXPECT_EQ(FirstField("/srv/a,b,c\r\n", true), "/srv/a");
    EXPECT_EQ(FirstField("/srv/a\rmore", true), "/srv/a");
    // Blanks belong to the folder: names may begin or end with them.
    EXPECT_EQ(FirstField(" /srv/x \n", true), " /srv/x ");
}

TEST(FirstField, QuotedFieldKeepsCommasAndLosesItsQuotes) {
    EXPECT_EQ(FirstField("\"/srv/a,b\",rest\r\n", true), "/srv/a,b");
    // A quote that is never closed still ends with the line.
    EXPECT_EQ(FirstField("\"/srv/open\r\n\"next line\"", true), "/srv/open");
    EXPECT_EQ(FirstField("\"/srv/open", true), "/srv/open");
}

TEST(FirstField, EmptyOrBinaryFieldsFail) {
    for (const std::string& bytes :
         {""s, "\r\n/srv\r\n"s, ",/srv\r\n"s, "\"\"\r\n"s, "/srv/\0x\r\n"s}) {
        EXPECT_EQ(FirstField(bytes, true), std::nullopt) << bytes;
    }
    EXPECT_EQ(FirstField("\xff\xfe\x01,", true), "\xff\xfe\x01");
}

TEST(FirstField, AFieldCutOffByAPartialReadFails) {
    EXPECT_EQ(FirstField("/home/ann", true), "/home/ann");
    EXPECT_EQ(FirstField("/home/ann", false), std::nullopt);
    EXPECT_EQ(FirstField("/home/ann\r\nand much more", false), "/home/ann");
}

}  // namespace
}  // namespace remembered
