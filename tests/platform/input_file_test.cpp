// A source on either system: an ordinary file read to its end, known by its identity, and
// nothing else opened as one.
#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

namespace fs = std::filesystem;
using support::ScratchFolder;
using support::WriteFile;

TEST(InputFile, ReadsAnOrdinaryFileToTheEnd) {
#ifdef _WIN32
    // The name in other letters' case, which is the same name here.
    const char* const asTyped = "IN.BIN";
#else
    const char* const asTyped = "in.bin";
#endif
    const ScratchFolder folder;
    WriteFile(folder / "in.bin", "0123456789");
    platform::InputFile input(folder.Text("in.bin"));
    EXPECT_EQ(input.Version().size, 10);
    std::vector<std::uint8_t> buffer(4);
    EXPECT_EQ(input.Read(buffer), 4u);
    EXPECT_EQ(input.Read(buffer), 4u);
    EXPECT_EQ(input.Read(buffer), 2u);
    EXPECT_EQ(buffer[1], '9');
    EXPECT_EQ(input.Read(buffer), 0u);
    EXPECT_TRUE(input.IsSameFileAs(folder.Text(asTyped)));
    EXPECT_FALSE(input.IsSameFileAs(folder.Text("other.bin")));
}

TEST(InputFile, RefusesWhatIsNotAnOrdinaryFile) {
    const ScratchFolder folder;
    fs::create_directory(folder / "folder");
    EXPECT_THROW(platform::InputFile(folder.Text("absent")), platform::FileError);
    EXPECT_THROW(platform::InputFile(folder.Text("folder")), platform::FileError);
    EXPECT_THROW(platform::InputFile(folder.Text()), platform::FileError);
#ifndef _WIN32
    // Must not block waiting for a writer.
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_THROW(platform::InputFile(folder.Text("pipe")), platform::FileError);
#endif
}

}  // namespace
