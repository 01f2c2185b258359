// Names on either system: a folder and a name joined, the names a file cannot have, letter
// case, the bytes of the "LastPath" line, and the texts failures show. Where the systems
// differ, each one's own values are set apart.
#ifdef _WIN32
#include <windows.h>
#endif
#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace {

using platform::NameProblem;

TEST(Names, JoinPathPutsOneSeparatorBetween) {
    struct Joined {
        std::u16string folder, name, path;
    };
#ifdef _WIN32
    const char16_t separator = u'\\';
    // A drive root ends with the separator already.
    const std::vector<Joined> rows{
        {u"C:\\", u"report.txt", u"C:\\report.txt"},
        {u"D:\\Letters", u"report.txt", u"D:\\Letters\\report.txt"},
        {u"D:\\Letters\\", u"a", u"D:\\Letters\\a"},
    };
#else
    const char16_t separator = u'/';
    const std::vector<Joined> rows{
        {u"/home/ann", u"notes.txt", u"/home/ann/notes.txt"},
        {u"/", u"notes.txt", u"/notes.txt"},
        {u"/home/ann/", u"n", u"/home/ann/n"},
    };
#endif
    EXPECT_EQ(platform::Separator(), separator);
    for (const Joined& row : rows) EXPECT_EQ(platform::JoinPath(row.folder, row.name), row.path);
}

TEST(Names, CheckFileNameSaysWhyANameCannotBeUsed) {
    std::vector<std::pair<std::u16string, NameProblem>> rows{
        {u"a", NameProblem::None},
        {u".hidden", NameProblem::None},
        {u"x_XXX.txt", NameProblem::None},
        {u"report_XXX.txt", NameProblem::None},
        {u"caf\u00e9 \u20ac.txt", NameProblem::None},
        {u"\u00E9 \U0001F600", NameProblem::None},
        {u"", NameProblem::Empty},
        {u".", NameProblem::DotName},
        {u"..", NameProblem::DotName},
        {u"a/b", NameProblem::FolderPart},
        {u"/", NameProblem::FolderPart},
        {std::u16string(u"a\0b", 3), NameProblem::BadCharacter},
        {std::u16string(255, u'n'), NameProblem::None},
        {std::u16string(256, u'n'), NameProblem::TooLong},
    };
#ifdef _WIN32
    rows.emplace_back(u"a\\b", NameProblem::FolderPart);
    // The system would drop a final dot or blank, and make another name than the one checked.
    for (const char16_t* name : {u"...", u"report.", u"report "})
        rows.emplace_back(name, NameProblem::BadCharacter);
    // The limit is in units: 255 of any kind fit.
    rows.emplace_back(std::u16string(128, u'\u00E9'), NameProblem::None);
    for (const char16_t bad : std::u16string(u"<>:\"|?*\x01\x1f"))
        rows.emplace_back(std::u16string(u"a") + bad + u"b", NameProblem::BadCharacter);
    for (const char16_t* device : {u"CON", u"nul", u"Aux.txt", u"com1", u"LPT9.dat", u"PRN .x",
                                   u"COM\u00b9", u"lpt\u00b3.txt", u"CONIN$", u"conout$.log"})
        rows.emplace_back(device, NameProblem::DeviceName);
    for (const char16_t* plain : {u"CONSOLE", u"COM0", u"LPT10", u"nul_XXX.txt", u"x.con"})
        rows.emplace_back(plain, NameProblem::None);
#else
    // A backslash, final dots and the names Windows keeps for devices are plain names here.
    for (const char16_t* name : {u"a\\b", u"...", u"CON"})
        rows.emplace_back(name, NameProblem::None);
    // The limit is in bytes on disk: 128 two-byte characters do not fit.
    rows.emplace_back(std::u16string(128, u'\u00E9'), NameProblem::TooLong);
#endif
    for (const auto& [name, problem] : rows) {
        EXPECT_EQ(platform::CheckFileName(name), problem) << ::testing::PrintToString(name);
    }
}

#ifdef _WIN32
// The file system ignores letter case, and so does every comparison of names.
constexpr bool kCaseTellsNamesApart = false;
#else
constexpr bool kCaseTellsNamesApart = true;
#endif

TEST(Names, LetterCaseTellsNamesApartAsTheFileSystemDoes) {
    EXPECT_TRUE(platform::SameName(u"src.txt", u"src.txt"));
    EXPECT_EQ(platform::SameName(u"SRC.TXT", u"src.txt"), !kCaseTellsNamesApart);
    EXPECT_EQ(platform::SameName(u"Report.TXT", u"report.txt"), !kCaseTellsNamesApart);
    EXPECT_EQ(platform::SameName(u"\u017d\u00c9\u0416.txt", u"\u017e\u00e9\u0436.TXT"),
              !kCaseTellsNamesApart);
    EXPECT_FALSE(platform::SameName(u"report.txt", u"report.txt "));
    EXPECT_FALSE(platform::SameName(u"report1.txt", u"report2.txt"));
    EXPECT_EQ(platform::NameKey(u"SRC.TXT") == platform::NameKey(u"src.txt"),
              !kCaseTellsNamesApart);
    EXPECT_EQ(platform::NameKey(u"c:\\caf\u00e9") == platform::NameKey(u"C:\\CAF\u00c9"),
              !kCaseTellsNamesApart);
    EXPECT_NE(platform::NameKey(u"C:\\a"), platform::NameKey(u"C:\\b"));
}

TEST(Names, TheLastPathLineHoldsTheFolderInTheSystemsOwnBytes) {
#ifdef _WIN32
    // The ANSI code page.
    ASSERT_EQ(GetACP(), 1252u) << "the vectors below are Windows-1252";
    const std::vector<std::pair<std::u16string, std::string>> rows{
        {u"C:\\", "C:\\"},
        {u"C:\\Caf\u00e9\\\u20ac \u017d", "C:\\Caf\xe9\\\x80 \x8e"},
    };
#else
    // The folder's own bytes, UTF-8 or not.
    const std::vector<std::pair<std::u16string, std::string>> rows{
        {u"/", "/"},
        {platform::FromNative("/srv/caf\xE9/\xC3\xA9t\xC3\xA9"), "/srv/caf\xE9/\xC3\xA9t\xC3\xA9"},
    };
#endif
    for (const auto& [folder, line] : rows) {
        EXPECT_EQ(platform::EncodeLine(folder), line);
        EXPECT_EQ(platform::DecodeLine(line), folder);
    }
#ifdef _WIN32
    // No byte stands for these; a look-alike ("A" for A with macron) would name another
    // folder, so nothing is written.
    EXPECT_EQ(platform::EncodeLine(u"C:\\\u65e5\u672c"), std::nullopt);
    EXPECT_EQ(platform::EncodeLine(u"C:\\\u0100"), std::nullopt);
    EXPECT_EQ(platform::EncodeLine(u"C:\\\xd800"), std::nullopt);
#endif
}

TEST(Names, FailuresNameTheFileAndTheReasonInWindowText) {
#ifdef _WIN32
    const std::error_code notFound(ERROR_FILE_NOT_FOUND, std::system_category());
    const std::u16string path = u"C:\\caf\u00e9.txt";
#else
    const std::error_code notFound = std::make_error_code(std::errc::no_such_file_or_directory);
    // A byte that is no UTF-8 shows as its escape unit.
    const std::u16string path = platform::FromNative("/tmp/caf\xE9");
    ASSERT_EQ(path, u"/tmp/caf\xDCE9");
#endif
    const std::u16string reason = platform::ReasonText(notFound);
#ifndef _WIN32
    EXPECT_EQ(reason, u"No such file or directory");
#endif
    // The system's own words, as one line without a full stop.
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(reason.find_first_of(u"\r\n"), std::u16string::npos);
    EXPECT_NE(reason.back(), u'.');
    const platform::FileError error(notFound, u"Cannot open", path);
    EXPECT_EQ(error.Text(), u"Cannot open \"" + path + u"\": " + reason);
    EXPECT_EQ(error.Path(), path);
    EXPECT_FALSE(platform::ReasonText(std::make_error_code(std::errc::no_such_device)).empty());
}

}  // namespace
