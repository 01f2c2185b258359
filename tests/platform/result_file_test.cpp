// Each way a result is created and named on Linux, forced in turn on the test machine's file
// system (which has them all), so that the fallbacks for file systems without unnamed files,
// no-replace renames or hard links stay tested.
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

#include "platform/result_file_posix.h"
#include "tests/support/native_text.h"

namespace platform::posix {
namespace {

namespace fs = std::filesystem;

struct Way {
    const char* name;
    ResultWays ways;
};

const Way kWays[] = {
    {"unnamed file", {}},
    {"no-replace rename", {.unnamedFile = false}},
    {"hard link", {.unnamedFile = false, .noReplaceRename = false}},
    {"claim then rename", {.unnamedFile = false, .noReplaceRename = false, .hardLink = false}},
};

void PrintTo(const Way& way, std::ostream* out) { *out << way.name; }

class ResultFileTest : public ::testing::TestWithParam<Way> {
protected:
    ResultFileTest() {
        std::string pattern = (fs::temp_directory_path() / "result-test-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        fs::create_directory(root_ / "folder");
    }
    ~ResultFileTest() override { fs::remove_all(root_); }

    std::set<std::string> Names(const fs::path& folder) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::vector<std::uint8_t> Bytes(const std::string& text) {
        return {text.begin(), text.end()};
    }
    std::u16string In(const char* folder, const char* name) const {
        return support::AsText(root_ / folder / name);
    }

    fs::path root_;
};

TEST_P(ResultFileTest, NamedWhenCompleteWithTheModeAskedAndNothingElseLeft) {
    const mode_t previous = umask(022);
    {
        ResultFile result(In("folder", "out"), 0660, GetParam().ways);
        EXPECT_EQ(result.Unnamed(), GetParam().ways.unnamedFile);
        result.Write(Bytes("first "));
        result.Write(Bytes("second"));
        // In progress: nothing at all, or one hidden temporary.
        const auto during = Names(root_ / "folder");
        if (GetParam().ways.unnamedFile) {
            EXPECT_TRUE(during.empty());
        } else {
            ASSERT_EQ(during.size(), 1u);
            EXPECT_EQ(during.begin()->rfind(".tessomar-", 0), 0u);
        }
        result.Name();
    }
    umask(previous);
    EXPECT_EQ(Names(root_ / "folder"), std::set<std::string>{"out"});
    EXPECT_EQ(Read(root_ / "folder" / "out"), "first second");
    EXPECT_EQ(fs::status(root_ / "folder" / "out").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_P(ResultFileTest, ANameTakenMeanwhileIsNeverReplaced) {
    {
        ResultFile result(In("folder", "out"), 0644, GetParam().ways);
        result.Write(Bytes("ours"));
        std::ofstream(root_ / "folder" / "out") << "theirs";
        try {
            result.Name();
            ADD_FAILURE();
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code(), std::errc::file_exists);
        }
    }
    EXPECT_EQ(Names(root_ / "folder"), std::set<std::string>{"out"});
    EXPECT_EQ(Read(root_ / "folder" / "out"), "theirs");
}

TEST_P(ResultFileTest, AFolderRenamedDuringTheRunGetsTheResultOrNothing) {
    {
        ResultFile result(In("folder", "kept"), 0644, GetParam().ways);
        result.Write(Bytes("kept"));
        fs::rename(root_ / "folder", root_ / "moved");
        result.Name();
    }
    {
        ResultFile dropped(In("moved", "dropped"), 0644, GetParam().ways);
        dropped.Write(Bytes("dropped"));
        fs::rename(root_ / "moved", root_ / "again");
    }
    EXPECT_EQ(Names(root_ / "again"), std::set<std::string>{"kept"});
    EXPECT_EQ(Read(root_ / "again" / "kept"), "kept");
    EXPECT_EQ(Names(root_), std::set<std::string>{"again"});
}

// Another program's file under the temporary's name is left alone, and another name tried.
int namesAsked = 0;
std::string PlantedThenFree() {
    const int asked = ++namesAsked;
    return asked == 1 ? ".tessomar-planted" : ".tessomar-free-" + std::to_string(asked);
}

TEST_P(ResultFileTest, AFileUnderTheTemporarysNameIsLeftAlone) {
    ResultWays ways = GetParam().ways;
    // An unnamed file has no temporary name: the way a file system without one is forced.
    ways.unnamedFile = false;
    ways.temporaryName = PlantedThenFree;
    namesAsked = 0;
    std::ofstream(root_ / "folder" / ".tessomar-planted") << "planted";
    {
        ResultFile result(In("folder", "out"), 0644, ways);
        result.Write(Bytes("ours"));
        result.Name();
    }
    EXPECT_EQ(Read(root_ / "folder" / ".tessomar-planted"), "planted");
    EXPECT_EQ(Read(root_ / "folder" / "out"), "ours");
    EXPECT_EQ(Names(root_ / "folder"), (std::set<std::string>{".tessomar-planted", "out"}));
}

// A temporary refused for any other reason than its name being taken is reported with that
// reason at once, not tried again and again and then called a name taken.
std::string TooLongForTheFileSystem() {
    ++namesAsked;
    return ".tessomar-" + std::string(300, 'x');
}

TEST_P(ResultFileTest, ATemporaryRefusedSaysWhyAtOnce) {
    ResultWays ways = GetParam().ways;
    ways.unnamedFile = false;
    ways.temporaryName = TooLongForTheFileSystem;
    namesAsked = 0;
    try {
        ResultFile result(In("folder", "out"), 0644, ways);
        ADD_FAILURE();
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::filename_too_long);
    }
    EXPECT_EQ(namesAsked, 1);
    EXPECT_TRUE(Names(root_ / "folder").empty());
}

INSTANTIATE_TEST_SUITE_P(EveryWay, ResultFileTest, ::testing::ValuesIn(kWays),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (c == ' ' || c == '-') c = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace platform::posix
