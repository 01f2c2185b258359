// Windows names: drive roots, the characters and device names the system refuses, letter
// case, the ANSI code page of the "LastPath" line, and the system's words for failures.
#include <windows.h>
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

using platform::NameProblem;

TEST(WindowsNames, JoinPathAddsNoSecondSeparatorAfterADriveRoot) {
    EXPECT_EQ(platform::Separator(), u'\\');
    EXPECT_EQ(platform::JoinPath(u"C:\\", u"report.txt"), u"C:\\report.txt");
    EXPECT_EQ(platform::JoinPath(u"D:\\Letters", u"report.txt"), u"D:\\Letters\\report.txt");
    EXPECT_EQ(platform::JoinPath(u"D:\\Letters\\", u"a"), u"D:\\Letters\\a");
}

TEST(WindowsNames, CheckFileNameRefusesWhatTheSystemWouldNotMakeAsTyped) {
    EXPECT_EQ(platform::CheckFileName(u"report_XXX.txt"), NameProblem::None);
    EXPECT_EQ(platform::CheckFileName(u"caf\u00e9 \u20ac.txt"), NameProblem::None);
    EXPECT_EQ(platform::CheckFileName(u""), NameProblem::Empty);
    EXPECT_EQ(platform::CheckFileName(u".."), NameProblem::DotName);
    EXPECT_EQ(platform::CheckFileName(u"a\\b"), NameProblem::FolderPart);
    EXPECT_EQ(platform::CheckFileName(u"a/b"), NameProblem::FolderPart);
    for (const char16_t bad : std::u16string(u"<>:\"|?*\x01\x1f")) {
        EXPECT_EQ(platform::CheckFileName(std::u16string(u"a") + bad + u"b"),
                  NameProblem::BadCharacter)
            << int(bad);
    }
    // The system would drop these, and make another name than the one checked.
    EXPECT_EQ(platform::CheckFileName(u"report."), NameProblem::BadCharacter);
    EXPECT_EQ(platform::CheckFileName(u"report "), NameProblem::BadCharacter);
    for (const char16_t* device : {u"CON", u"nul", u"Aux.txt", u"com1", u"LPT9.dat", u"PRN .x",
                                   u"COM\u00b9", u"lpt\u00b3.txt", u"CONIN$", u"conout$.log"}) {
        EXPECT_EQ(platform::CheckFileName(device), NameProblem::DeviceName)
            << std::string(device, device + std::char_traits<char16_t>::length(device));
    }
    for (const char16_t* plain : {u"CONSOLE", u"COM0", u"LPT10", u"nul_XXX.txt", u"x.con"}) {
        EXPECT_EQ(platform::CheckFileName(plain), NameProblem::None);
    }
    EXPECT_EQ(platform::CheckFileName(std::u16string(255, u'n')), NameProblem::None);
    EXPECT_EQ(platform::CheckFileName(std::u16string(256, u'n')), NameProblem::TooLong);
}

TEST(WindowsNames, LetterCaseIsIgnoredAsTheFileSystemIgnoresIt) {
    EXPECT_TRUE(platform::SameName(u"Report.TXT", u"report.txt"));
    EXPECT_TRUE(platform::SameName(u"\u017d\u00c9\u0416.txt", u"\u017e\u00e9\u0436.TXT"));
    EXPECT_FALSE(platform::SameName(u"report.txt", u"report.txt "));
    EXPECT_FALSE(platform::SameName(u"report1.txt", u"report2.txt"));
    EXPECT_EQ(platform::NameKey(u"c:\\caf\u00e9"), platform::NameKey(u"C:\\CAF\u00c9"));
    EXPECT_NE(platform::NameKey(u"C:\\a"), platform::NameKey(u"C:\\b"));
}

TEST(WindowsNames, TheLastPathLineIsInTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 1252u) << "the vectors below are Windows-1252";
    EXPECT_EQ(platform::EncodeLine(u"C:\\"), "C:\\");
    EXPECT_EQ(platform::EncodeLine(u"C:\\Caf\u00e9\\\u20ac \u017d"), "C:\\Caf\xe9\\\x80 \x8e");
    EXPECT_EQ(platform::DecodeLine("C:\\Caf\xe9\\\x80 \x8e"), u"C:\\Caf\u00e9\\\u20ac \u017d");
    // No byte stands for these; a look-alike ("A" for A with macron) would name another
    // folder, so nothing is written.
    EXPECT_EQ(platform::EncodeLine(u"C:\\\u65e5\u672c"), std::nullopt);
    EXPECT_EQ(platform::EncodeLine(u"C:\\\u0100"), std::nullopt);
    EXPECT_EQ(platform::EncodeLine(u"C:\\\xd800"), std::nullopt);
}

TEST(WindowsNames, FailuresCarryTheSystemsOwnWords) {
    const std::error_code notFound(ERROR_FILE_NOT_FOUND, std::system_category());
    const std::u16string reason = platform::ReasonText(notFound);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(reason.find_first_of(u"\r\n"), std::u16string::npos);
    EXPECT_NE(reason.back(), u'.');
    const platform::FileError error(notFound, u"Cannot open", u"C:\\caf\u00e9.txt");
    EXPECT_EQ(error.Text(), u"Cannot open \"C:\\caf\u00e9.txt\": " + reason);
    EXPECT_FALSE(platform::ReasonText(std::make_error_code(std::errc::no_such_device)).empty());
}

}  // namespace
