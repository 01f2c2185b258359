#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/platform.h"
#include "platform/source_leases_posix.h"
#include "tests/support/native_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

namespace fs = std::filesystem;
using support::AsText;
using Bytes = std::vector<std::uint8_t>;

using TempFolder = support::ScratchFolder;
constexpr auto& WriteText = support::WriteFile;
constexpr auto& ReadText = support::ReadFile;

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

TEST(Names, JoinPathPutsOneSeparatorBetween) {
    EXPECT_EQ(platform::Separator(), u'/');
    EXPECT_EQ(platform::JoinPath(u"/home/ann", u"notes.txt"), u"/home/ann/notes.txt");
    EXPECT_EQ(platform::JoinPath(u"/", u"notes.txt"), u"/notes.txt");
    EXPECT_EQ(platform::JoinPath(u"/home/ann/", u"n"), u"/home/ann/n");
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

TEST(Names, CheckFileNameSaysWhyANameCannotBeUsed) {
    using platform::NameProblem;
    for (const std::u16string name :
         {u"a", u".hidden", u"x_XXX.txt", u"\u00E9 \U0001F600", u"..."}) {
        EXPECT_EQ(platform::CheckFileName(name), NameProblem::None);
    }
    EXPECT_EQ(platform::CheckFileName(u""), NameProblem::Empty);
    EXPECT_EQ(platform::CheckFileName(u"."), NameProblem::DotName);
    EXPECT_EQ(platform::CheckFileName(u".."), NameProblem::DotName);
    EXPECT_EQ(platform::CheckFileName(u"a/b"), NameProblem::FolderPart);
    EXPECT_EQ(platform::CheckFileName(u"/"), NameProblem::FolderPart);
    EXPECT_EQ(platform::CheckFileName(std::u16string(u"a\0b", 3)), NameProblem::BadCharacter);
    EXPECT_EQ(platform::CheckFileName(std::u16string(255, u'n')), NameProblem::None);
    EXPECT_EQ(platform::CheckFileName(std::u16string(256, u'n')), NameProblem::TooLong);
    // The limit is in bytes on disk: 128 two-byte characters do not fit.
    EXPECT_EQ(platform::CheckFileName(std::u16string(128, u'\u00E9')), NameProblem::TooLong);
}

TEST(Names, LetterCaseTellsNamesApartOnThisSystem) {
    EXPECT_TRUE(platform::SameName(u"src.txt", u"src.txt"));
    EXPECT_FALSE(platform::SameName(u"SRC.TXT", u"src.txt"));
    EXPECT_NE(platform::NameKey(u"SRC.TXT"), platform::NameKey(u"src.txt"));
}

TEST(Names, TheLastPathLineHoldsTheFoldersOwnBytes) {
    const std::u16string folder = platform::FromNative("/srv/caf\xE9/\xC3\xA9t\xC3\xA9");
    ASSERT_TRUE(platform::EncodeLine(folder));
    EXPECT_EQ(*platform::EncodeLine(folder), "/srv/caf\xE9/\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(platform::DecodeLine("/srv/caf\xE9/\xC3\xA9t\xC3\xA9"), folder);
}

TEST(Names, FailuresNameTheFileAndTheReasonInWindowText) {
    const platform::FileError error(std::make_error_code(std::errc::no_such_file_or_directory),
                                    u"Cannot open", platform::FromNative("/tmp/caf\xE9"));
    EXPECT_EQ(error.Text(), u"Cannot open \"/tmp/caf\xDCE9\": No such file or directory");
    EXPECT_EQ(error.Path(), platform::FromNative("/tmp/caf\xE9"));
}

TEST(Entries, ClassifyTellsEachKindWithoutFollowingLinks) {
    TempFolder folder;
    WriteText(folder / "visible", "v");
    WriteText(folder / ".hidden", "h");
    fs::create_directory(folder / "folder");
    fs::create_symlink(folder / "visible", folder / "link");
    fs::create_symlink(folder / "nowhere", folder / "dangling");
    using platform::EntryKind;
    EXPECT_EQ(platform::Classify(AsText(folder / "visible")), EntryKind::OrdinaryFile);
    EXPECT_EQ(platform::Classify(AsText(folder / ".hidden")), EntryKind::HiddenFile);
    EXPECT_EQ(platform::Classify(AsText(folder / "folder")), EntryKind::Folder);
    EXPECT_EQ(platform::Classify(AsText(folder / "link")), EntryKind::Other);
    EXPECT_EQ(platform::Classify(AsText(folder / "dangling")), EntryKind::Other);
    EXPECT_EQ(platform::Classify(AsText(folder / "absent")), EntryKind::Missing);
    EXPECT_EQ(platform::Classify(AsText(folder / "visible" / "below")), EntryKind::Missing);
    // A path the system cannot take is no leave to create anything, and says why.
    const std::string longName(200, 'n');
    std::u16string deep = AsText(folder / "folder");
    for (int level = 0; level < 30; ++level) deep = platform::JoinPath(deep, AsText(longName));
    EXPECT_EQ(platform::Classify(deep), EntryKind::PathTooLong);
}

TEST(Entries, SameFileGoesByIdentityNotName) {
    TempFolder folder;
    WriteText(folder / "a", "same");
    WriteText(folder / "b", "same");
    fs::create_hard_link(folder / "a", folder / "hard");
    fs::create_symlink(folder / "a", folder / "soft");
    EXPECT_TRUE(platform::SameFile(AsText(folder / "a"), AsText(folder / "hard")));
    EXPECT_TRUE(platform::SameFile(AsText(folder / "a"), AsText(folder / "soft")));
    fs::create_directory(folder / "sub");
    EXPECT_TRUE(platform::SameFile(AsText(folder / "a"), AsText(folder / "sub/../a")));
    EXPECT_FALSE(platform::SameFile(AsText(folder / "a"), AsText(folder / "b")));
    EXPECT_FALSE(platform::SameFile(AsText(folder / "a"), AsText(folder / "absent")));
}

// Two memory disks number their files alike: the first file on each has the same number.
TEST(Entries, FilesOfOneNumberOnTwoDisksAreTwoFiles) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting needs root";
    TempFolder folder;
    fs::create_directory(folder / "one");
    fs::create_directory(folder / "two");
    for (const char* disk : {"one", "two"}) {
        ASSERT_EQ(mount("tessomar-test", (folder / disk).c_str(), "tmpfs", 0, "size=1m"), 0);
        WriteText(folder / disk / "file", "same");
    }
    struct stat one {
    }, two{};
    stat((folder / "one" / "file").c_str(), &one);
    stat((folder / "two" / "file").c_str(), &two);
    if (one.st_ino == two.st_ino) {
        const platform::InputFile opened(AsText(folder / "one" / "file"));
        EXPECT_FALSE(opened.IsSameFileAs(AsText(folder / "two" / "file")));
        EXPECT_FALSE(
            platform::SameFile(AsText(folder / "one" / "file"), AsText(folder / "two" / "file")));
    }
    for (const char* disk : {"one", "two"}) umount((folder / disk).c_str());
    if (one.st_ino != two.st_ino) GTEST_SKIP() << "the two disks numbered their files apart";
}

TEST(Entries, DeleteFileRemovesOneFileAndNamesThePathOnFailure) {
    TempFolder folder;
    WriteText(folder / "doomed", "x");
    platform::RemoveFile(AsText(folder / "doomed"));
    EXPECT_EQ(platform::Classify(AsText(folder / "doomed")), platform::EntryKind::Missing);
    try {
        platform::RemoveFile(AsText(folder / "doomed"));
        ADD_FAILURE();
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
        EXPECT_NE(std::string(error.what()).find("doomed"), std::string::npos);
    }
}

TEST(InputFile, ReadsAnOrdinaryFileToTheEnd) {
    TempFolder folder;
    WriteText(folder / "in", "0123456789");
    platform::InputFile input(AsText(folder / "in"));
    EXPECT_EQ(input.Version().size, 10);
    Bytes buffer(4);
    EXPECT_EQ(input.Read(buffer), 4u);
    EXPECT_EQ(input.Read(buffer), 4u);
    EXPECT_EQ(input.Read(buffer), 2u);
    EXPECT_EQ(buffer[1], '9');
    EXPECT_EQ(input.Read(buffer), 0u);
    EXPECT_TRUE(input.IsSameFileAs(AsText(folder / "in")));
    EXPECT_FALSE(input.IsSameFileAs(AsText(folder / "other")));
}

TEST(InputFile, RefusesWhatIsNotAnOrdinaryFile) {
    TempFolder folder;
    fs::create_directory(folder / "folder");
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_THROW(platform::InputFile(AsText(folder / "absent")), std::system_error);
    EXPECT_THROW(platform::InputFile(AsText(folder / "folder")), std::system_error);
    // Must not block waiting for a writer.
    EXPECT_THROW(platform::InputFile(AsText(folder / "pipe")), std::system_error);
}

// Results take their access from a source; any readable file will do for these tests.
class WithSource {
protected:
    TempFolder folder_;
    platform::InputFile source_{
        (WriteText(folder_ / "source", "source"), AsText(folder_ / "source"))};
    std::set<std::string> sourceOnly_{"source"};
};

class OutputFileTest : public WithSource, public ::testing::Test {};

TEST_F(OutputFileTest, AppearsUnderItsNameOnlyOnCommit) {
    {
        platform::OutputFile output(AsText(folder_ / "out"), source_);
        output.Write(Bytes{'a', 'b'});
        EXPECT_EQ(platform::Classify(AsText(folder_ / "out")), platform::EntryKind::Missing);
        // Whatever the file in progress is, the file list never shows it.
        EXPECT_EQ(platform::ListOrdinaryFiles(AsText(folder_ / "")),
                  std::vector<std::u16string>{u"source"});
        output.Write(Bytes{'c'});
        output.Commit();
    }
    EXPECT_EQ(ReadText(folder_ / "out"), "abc");
    EXPECT_EQ(folder_.Names(), (std::set<std::string>{"out", "source"}));
}

TEST_F(OutputFileTest, WithoutCommitLeavesNothing) {
    {
        platform::OutputFile output(AsText(folder_ / "out"), source_);
        output.Write(Bytes(1000, 7));
    }
    EXPECT_EQ(folder_.Names(), sourceOnly_);
}

TEST_F(OutputFileTest, CommitNeverReplacesWhatAppearedMeanwhile) {
    {
        platform::OutputFile output(AsText(folder_ / "out"), source_);
        output.Write(Bytes{'n', 'e', 'w'});
        WriteText(folder_ / "out", "theirs");
        try {
            output.Commit();
            ADD_FAILURE();
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code(), std::errc::file_exists);
        }
    }
    EXPECT_EQ(ReadText(folder_ / "out"), "theirs");
    EXPECT_EQ(folder_.Names(), (std::set<std::string>{"out", "source"}));
}

TEST_F(OutputFileTest, MissingFolderIsAnErrorNamingTheDestination) {
    try {
        platform::OutputFile output(AsText(folder_ / "absent" / "out"), source_);
        ADD_FAILURE();
    } catch (const std::system_error& error) {
        EXPECT_NE(std::string(error.what()).find("absent/out"), std::string::npos);
    }
}

TEST(Entries, RemoveFileUnlessSparesTheFileByIdentityWhateverItsName) {
    TempFolder folder;
    WriteText(folder / "source", "precious");
    WriteText(folder / "other", "doomed");
    const platform::FileIdentity source = *platform::IdentityOf(AsText(folder / "source"));
    // Another program renames the source onto the name about to be deleted.
    fs::rename(folder / "source", folder / "renamed");
    EXPECT_FALSE(platform::RemoveFileUnless(AsText(folder / "renamed"), source));
    EXPECT_EQ(ReadText(folder / "renamed"), "precious");
    // A link to it is only a link: removing it leaves the file alone.
    fs::create_symlink(folder / "renamed", folder / "link");
    EXPECT_TRUE(platform::RemoveFileUnless(AsText(folder / "link"), source));
    EXPECT_TRUE(platform::RemoveFileUnless(AsText(folder / "other"), source));
    EXPECT_EQ(folder.Names(), std::set<std::string>{"renamed"});
    EXPECT_THROW(platform::RemoveFileUnless(AsText(folder / "other"), source), std::system_error);
}

TEST(InputFile, VersionChangesWithTheContents) {
    // Without a lease, which would hold this test's own rewrite back until the system gives
    // up waiting for it to be released.
    const platform::posix::WithoutSourceLeases noLeases;
    TempFolder folder;
    WriteText(folder / "in", "0123456789");
    const auto second =
        std::chrono::floor<std::chrono::seconds>(fs::last_write_time(folder / "in"));
    fs::last_write_time(folder / "in", second);
    platform::InputFile input(AsText(folder / "in"));
    const platform::FileVersion start = input.Version();
    EXPECT_EQ(start.size, 10);
    EXPECT_EQ(start.identity, *platform::IdentityOf(AsText(folder / "in")));
    EXPECT_EQ(input.Version(), start);
    // Same size, other bytes: the modification time tells them apart, to the part of a
    // second (set apart here, as the clock may not have moved on between two writes this
    // close).
    WriteText(folder / "in", "abcdefghij");
    fs::last_write_time(folder / "in", second + std::chrono::milliseconds(5));
    EXPECT_EQ(input.Version().size, 10);
    EXPECT_NE(input.Version(), start);
}

}  // namespace
