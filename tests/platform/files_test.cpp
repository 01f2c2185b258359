#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/platform.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

using TempFolder = support::ScratchFolder;
constexpr auto& WriteText = support::WriteFile;
constexpr auto& ReadText = support::ReadFile;

TEST(Names, Utf8NamesBecomeUtf16Text) {
    EXPECT_EQ(platform::ToText("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"),
              u"caf\u00E9 \u20AC \U0001F600");
    EXPECT_EQ(platform::ToPath(u"caf\u00E9 \u20AC \U0001F600").native(),
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
        const std::u16string text = platform::ToText(name);
        EXPECT_EQ(platform::ToPath(text).native(), name);
    }
    EXPECT_EQ(platform::ToText("caf\xE9"), u"caf\xDCE9");
}

TEST(Names, LoneSurrogatesNoNameProducedBecomeReplacementCharacters) {
    EXPECT_EQ(platform::ToPath(std::u16string{u'a', char16_t(0xD800), u'b'}).native(),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(platform::ToPath(std::u16string{char16_t(0xDC41)}).native(), "\xEF\xBF\xBD");
}

TEST(Names, JoinPathPutsOneSeparatorBetween) {
    EXPECT_EQ(platform::Separator(), u'/');
    EXPECT_EQ(platform::JoinPath(u"/home/ann", u"notes.txt"), u"/home/ann/notes.txt");
    EXPECT_EQ(platform::JoinPath(u"/", u"notes.txt"), u"/notes.txt");
    EXPECT_EQ(platform::JoinPath(u"/home/ann/", u"n"), u"/home/ann/n");
}

TEST(Names, PlainFileNames) {
    for (const std::u16string name : {u"a", u".hidden", u"x_XXX.txt", u"\u00E9 \U0001F600"}) {
        EXPECT_TRUE(platform::IsPlainFileName(name));
    }
    const std::u16string withNul(u"a\0b", 3);
    for (const std::u16string& name :
         std::vector<std::u16string>{u"", u".", u"..", u"a/b", u"/", withNul}) {
        EXPECT_FALSE(platform::IsPlainFileName(name));
    }
    EXPECT_TRUE(platform::IsPlainFileName(std::u16string(255, u'n')));
    EXPECT_FALSE(platform::IsPlainFileName(std::u16string(256, u'n')));
    // The limit is in bytes on disk: 128 two-byte characters do not fit.
    EXPECT_FALSE(platform::IsPlainFileName(std::u16string(128, u'\u00E9')));
}

TEST(Entries, ClassifyTellsEachKindWithoutFollowingLinks) {
    TempFolder folder;
    WriteText(folder / "visible", "v");
    WriteText(folder / ".hidden", "h");
    fs::create_directory(folder / "folder");
    fs::create_symlink(folder / "visible", folder / "link");
    fs::create_symlink(folder / "nowhere", folder / "dangling");
    using platform::EntryKind;
    EXPECT_EQ(platform::Classify(folder / "visible"), EntryKind::OrdinaryFile);
    EXPECT_EQ(platform::Classify(folder / ".hidden"), EntryKind::HiddenFile);
    EXPECT_EQ(platform::Classify(folder / "folder"), EntryKind::Folder);
    EXPECT_EQ(platform::Classify(folder / "link"), EntryKind::Other);
    EXPECT_EQ(platform::Classify(folder / "dangling"), EntryKind::Other);
    EXPECT_EQ(platform::Classify(folder / "absent"), EntryKind::Missing);
    EXPECT_EQ(platform::Classify(folder / "visible" / "below"), EntryKind::Missing);
}

TEST(Entries, SameFileGoesByIdentityNotName) {
    TempFolder folder;
    WriteText(folder / "a", "same");
    WriteText(folder / "b", "same");
    fs::create_hard_link(folder / "a", folder / "hard");
    fs::create_symlink(folder / "a", folder / "soft");
    EXPECT_TRUE(platform::SameFile(folder / "a", folder / "hard"));
    EXPECT_TRUE(platform::SameFile(folder / "a", folder / "soft"));
    fs::create_directory(folder / "sub");
    EXPECT_TRUE(platform::SameFile(folder / "a", folder / "sub/../a"));
    EXPECT_FALSE(platform::SameFile(folder / "a", folder / "b"));
    EXPECT_FALSE(platform::SameFile(folder / "a", folder / "absent"));
}

TEST(Entries, DeleteFileRemovesOneFileAndNamesThePathOnFailure) {
    TempFolder folder;
    WriteText(folder / "doomed", "x");
    platform::DeleteFile(folder / "doomed");
    EXPECT_EQ(platform::Classify(folder / "doomed"), platform::EntryKind::Missing);
    try {
        platform::DeleteFile(folder / "doomed");
        ADD_FAILURE();
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
        EXPECT_NE(std::string(error.what()).find("doomed"), std::string::npos);
    }
}

TEST(InputFile, ReadsAnOrdinaryFileToTheEnd) {
    TempFolder folder;
    WriteText(folder / "in", "0123456789");
    platform::InputFile input(folder / "in");
    EXPECT_EQ(input.Size(), 10);
    Bytes buffer(4);
    EXPECT_EQ(input.Read(buffer), 4u);
    EXPECT_EQ(input.Read(buffer), 4u);
    EXPECT_EQ(input.Read(buffer), 2u);
    EXPECT_EQ(buffer[1], '9');
    EXPECT_EQ(input.Read(buffer), 0u);
    EXPECT_TRUE(input.IsSameFileAs(folder / "in"));
    EXPECT_FALSE(input.IsSameFileAs(folder / "other"));
}

TEST(InputFile, RefusesWhatIsNotAnOrdinaryFile) {
    TempFolder folder;
    fs::create_directory(folder / "folder");
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_THROW(platform::InputFile(folder / "absent"), std::system_error);
    EXPECT_THROW(platform::InputFile(folder / "folder"), std::system_error);
    // Must not block waiting for a writer.
    EXPECT_THROW(platform::InputFile(folder / "pipe"), std::system_error);
}

TEST(OutputFile, AppearsUnderItsNameOnlyOnCommit) {
    TempFolder folder;
    {
        platform::OutputFile output(folder / "out");
        output.Write(Bytes{'a', 'b'});
        EXPECT_EQ(platform::Classify(folder / "out"), platform::EntryKind::Missing);
        // The file in progress is hidden, so the file list never shows it.
        ASSERT_EQ(folder.Names().size(), 1u);
        EXPECT_EQ(folder.Names().begin()->front(), '.');
        output.Write(Bytes{'c'});
        output.Commit();
    }
    EXPECT_EQ(ReadText(folder / "out"), "abc");
    EXPECT_EQ(folder.Names(), std::set<std::string>{"out"});
}

TEST(OutputFile, WithoutCommitLeavesNothing) {
    TempFolder folder;
    {
        platform::OutputFile output(folder / "out");
        output.Write(Bytes(1000, 7));
    }
    EXPECT_TRUE(folder.Names().empty());
}

TEST(OutputFile, CommitNeverReplacesWhatAppearedMeanwhile) {
    TempFolder folder;
    {
        platform::OutputFile output(folder / "out");
        output.Write(Bytes{'n', 'e', 'w'});
        WriteText(folder / "out", "theirs");
        EXPECT_THROW(output.Commit(), std::system_error);
    }
    EXPECT_EQ(ReadText(folder / "out"), "theirs");
    EXPECT_EQ(folder.Names(), std::set<std::string>{"out"});
}

TEST(OutputFile, MissingFolderIsAnErrorNamingTheDestination) {
    TempFolder folder;
    try {
        platform::OutputFile output(folder / "absent" / "out");
        ADD_FAILURE();
    } catch (const std::system_error& error) {
        EXPECT_NE(std::string(error.what()).find("absent/out"), std::string::npos);
    }
}

}  // namespace
