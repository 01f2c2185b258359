// A destination on either system: it appears under its name only when complete, leaves
// nothing without Commit, never replaces what took its name meanwhile, and a failure names
// it.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/platform.h"
#include "tests/support/listings.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

namespace fs = std::filesystem;
using platform::EntryKind;
using support::Bytes;
using support::ReadFile;
using support::ScratchFolder;
using support::WriteFile;

// Results take their access from a source; these tests' source lives in a folder of its own,
// so the folder the result goes to holds only what the test puts there.
struct AnySource {
    ScratchFolder folder;
    std::unique_ptr<platform::InputFile> file;
    AnySource() {
        WriteFile(folder / "source.bin", "s");
        file = std::make_unique<platform::InputFile>(folder.Text("source.bin"));
    }
};

TEST(OutputFile, AppearsUnderItsNameOnlyOnCommitAndWithoutItLeavesNothing) {
    const ScratchFolder folder;
    const AnySource source;
    {
        platform::OutputFile output(folder.Text("result.bin"), *source.file);
        output.Write(Bytes{'a', 'b'});
        EXPECT_EQ(platform::Classify(folder.Text("result.bin")), EntryKind::Missing);
        EXPECT_FALSE(fs::exists(folder / "result.bin"));
        // Whatever the file in progress is, the file list never shows it.
        EXPECT_TRUE(support::FilesOf(folder.Text()).empty());
        output.Write(Bytes{'c'});
        output.Commit();
    }
    EXPECT_EQ(ReadFile(folder / "result.bin"), "abc");
    EXPECT_EQ(platform::Classify(folder.Text("result.bin")), EntryKind::OrdinaryFile);
    const std::set<std::string> resultOnly{"result.bin"};
    EXPECT_EQ(folder.Names(), resultOnly);
    { platform::OutputFile abandoned(folder.Text("never.bin"), *source.file); }
    {
        platform::OutputFile abandoned(folder.Text("never.bin"), *source.file);
        abandoned.Write(Bytes(1000, 7));
    }
    EXPECT_EQ(folder.Names(), resultOnly);
}

TEST(OutputFile, CommitNeverReplacesWhatAppearedMeanwhile) {
#ifdef _WIN32
    // The name in other letters' case, which is the same name here.
    const std::string appeared = "TAKEN.BIN";
#else
    const std::string appeared = "taken.bin";
#endif
    const ScratchFolder folder;
    const AnySource source;
    {
        platform::OutputFile output(folder.Text("taken.bin"), *source.file);
        output.Write(Bytes{'n', 'e', 'w'});
        WriteFile(folder / appeared, "theirs");
        try {
            output.Commit();
            ADD_FAILURE() << "no error";
        } catch (const platform::FileError& error) {
            EXPECT_EQ(error.code(), std::errc::file_exists);
        }
    }
    EXPECT_EQ(ReadFile(folder / "taken.bin"), "theirs");
    EXPECT_EQ(folder.Names(), std::set<std::string>{appeared});
}

TEST(OutputFile, MissingFolderIsAnErrorNamingTheDestination) {
    const ScratchFolder folder;
    const AnySource source;
    const std::u16string destination = platform::JoinPath(folder.Text("missing"), u"result.bin");
    try {
        platform::OutputFile output(destination, *source.file);
        ADD_FAILURE() << "no error";
    } catch (const platform::FileError& error) {
        EXPECT_EQ(error.Path(), destination);
        const std::string named = (fs::path("missing") / "result.bin").string();
        EXPECT_NE(std::string(error.what()).find(named), std::string::npos) << error.what();
    }
}

}  // namespace
