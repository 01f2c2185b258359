// The command line: the file or folder the window opens at, and what prints and ends at once.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace app {
namespace {

std::u16string Text(const char* ascii) {
    return {ascii, ascii + std::char_traits<char>::length(ascii)};
}

CommandLine Read(const std::vector<std::string>& arguments) {
    return ReadCommandLine(arguments, "/home/someone/work");
}

TEST(CommandLine, PathsOpenTheWindowTakenFromTheWorkingFolder) {
    const CommandLine none = Read({});
    EXPECT_FALSE(none.exitAtOnce);
    EXPECT_TRUE(none.paths.empty());

    const CommandLine paths = Read({"notes.txt", "/etc/hosts", "../up", "-", "--", "--help"});
    EXPECT_FALSE(paths.exitAtOnce);
    EXPECT_EQ(paths.paths,
              (std::vector<std::u16string>{u"/home/someone/work/notes.txt", u"/etc/hosts",
                                           u"/home/someone/work/../up", u"/home/someone/work/-",
                                           u"/home/someone/work/--help"}));

    // A name that is not valid UTF-8 comes through, to be found by the same bytes.
    EXPECT_EQ(ReadCommandLine({"caf\xe9.txt"}, "/tmp").paths,
              std::vector<std::u16string>{u"/tmp/caf\xdce9.txt"});

    // Without a working folder a relative name stays relative, which the window reports as
    // not found.
    EXPECT_EQ(ReadCommandLine({"notes.txt"}, {}).paths, std::vector<std::u16string>{u"notes.txt"});
}

TEST(CommandLine, HelpAndVersionPrintAndEnd) {
    for (const char* option : {"--help", "-h"}) {
        const CommandLine help = Read({"notes.txt", option});
        EXPECT_TRUE(help.exitAtOnce);
        EXPECT_EQ(help.exitStatus, 0);
        EXPECT_EQ(help.standardOutput.rfind(u"Usage: tessomar [FILE | FOLDER]\n", 0), 0u);
        EXPECT_TRUE(help.standardError.empty());
    }
    const CommandLine version = Read({"--version"});
    EXPECT_TRUE(version.exitAtOnce);
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.standardOutput, u"tessomar " TESSOMAR_VERSION "\n");
}

TEST(CommandLine, AnUnknownOptionIsAMistakeSaidOnStandardError) {
    for (const char* option : {"-x", "--verbose", "-platform"}) {
        const CommandLine mistake = Read({option, "notes.txt"});
        EXPECT_TRUE(mistake.exitAtOnce);
        EXPECT_EQ(mistake.exitStatus, 2);
        EXPECT_TRUE(mistake.standardOutput.empty());
        EXPECT_EQ(mistake.standardError, u"tessomar: unknown option '" + Text(option) +
                                             u"'\nTry 'tessomar --help' for more information.\n");
    }
}

}  // namespace
}  // namespace app
