// Small text files on either system, as the remembered folder uses them: replaced whole, and
// read from the start up to a limit, nothing where there is no ordinary file.
#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "platform/platform.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/whole_files.h"

namespace {

namespace fs = std::filesystem;
using platform::ReadFileStart;
using platform::WriteWholeFile;

TEST(TextFiles, ReplacedWholeAndReadFromTheStartUpToALimit) {
#ifdef _WIN32
    // The name in other letters' case, which is the same name here.
    const char* const asTyped = "lastpath";
#else
    const char* const asTyped = "LastPath";
#endif
    const support::ScratchFolder folder;
    fs::create_directory(folder / "Sub");
    WriteWholeFile(folder.Text("LastPath"), "C:\\\r\n");
    EXPECT_EQ(support::ReadFile(folder / "LastPath"), "C:\\\r\n");
    WriteWholeFile(folder.Text("LastPath"), "D:\\x\r\n");
    EXPECT_EQ(ReadFileStart(folder.Text(asTyped), 3), "D:\\");
    WriteWholeFile(folder.Text("text"), "0123456789");
    EXPECT_EQ(ReadFileStart(folder.Text("text"), 4), "0123");
    EXPECT_EQ(ReadFileStart(folder.Text("text"), 100), "0123456789");
    // Longer than one read: every byte up to the limit, in order.
    std::string longer;
    for (int k = 0; k < 50000; ++k) longer += static_cast<char>('a' + k % 26);
    WriteWholeFile(folder.Text("longer"), longer);
    EXPECT_EQ(ReadFileStart(folder.Text("longer"), 40000), longer.substr(0, 40000));
    EXPECT_EQ(ReadFileStart(folder.Text("longer"), 1 << 20), longer);
    EXPECT_EQ(ReadFileStart(folder.Text("missing"), 100), std::nullopt);
    EXPECT_EQ(ReadFileStart(folder.Text("Sub"), 100), std::nullopt);
    EXPECT_EQ(ReadFileStart(folder.Text(), 100), std::nullopt);
#ifndef _WIN32
    // A pipe would block a plain open until someone writes to it.
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(ReadFileStart(folder.Text("pipe"), 100), std::nullopt);
    fs::remove(folder / "pipe");
#endif
    EXPECT_THROW(WriteWholeFile(platform::JoinPath(folder.Text("missing"), u"LastPath"), "x"),
                 platform::FileError);
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"LastPath", "Sub", "longer", "text"}));
}

}  // namespace
