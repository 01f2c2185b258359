// Folder paths on either system, by their text alone: the chain from the root down, and which
// volume holds a folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

using platform::FolderChain;
using Texts = std::vector<std::u16string>;

Texts Paths(const std::vector<platform::FolderStep>& chain) {
    Texts paths;
    for (const auto& step : chain) paths.push_back(step.path);
    return paths;
}

TEST(FolderChain, RunsFromTheRootDownResolvingTheTextAlone) {
#ifdef _WIN32
    const std::u16string messy = u"c:\\Users\\.\\bob\\..\\ann\\\\Letters\\";
    const Texts steps{u"C:\\", u"C:\\Users", u"C:\\Users\\ann", u"C:\\Users\\ann\\Letters"};
    const std::u16string root = u"D:\\";
    const Texts relatives{u"", u"Users\\ann", u"C:Users", u"\\Users", u"\\\\server\\share"};
#else
    const std::u16string messy = u"//home/./bob/../ann///Letters/";
    const Texts steps{u"/", u"/home", u"/home/ann", u"/home/ann/Letters"};
    const std::u16string root = u"/";
    const Texts relatives{u"", u"home/ann"};
#endif
    const std::vector<platform::FolderStep> chain = FolderChain(messy);
    EXPECT_EQ(Paths(chain), steps);
    // The root shows its whole path.
    EXPECT_EQ(chain.front().name, steps.front());
    EXPECT_EQ(chain.back().name, u"Letters");
    const std::u16string a = platform::JoinPath(root, u"a");
    EXPECT_EQ(FolderChain(a).back().name, u"a");
    EXPECT_EQ(FolderChain(root).front().name, root);
    EXPECT_EQ(Paths(FolderChain(platform::JoinPath(a, u".."))), Texts{root});
    EXPECT_EQ(FolderChain(platform::JoinPath(platform::JoinPath(root, u".."), u"..")).back().path,
              root);
#ifdef _WIN32
    // Either separator, and a drive without one, as the drive list names it.
    EXPECT_EQ(FolderChain(u"D:/a/b").back().path, u"D:\\a\\b");
    EXPECT_EQ(Paths(FolderChain(u"D:")), Texts{u"D:\\"});
#endif
    for (const std::u16string& relative : relatives) {
        EXPECT_TRUE(FolderChain(relative).empty()) << ::testing::PrintToString(relative);
    }
}

TEST(VolumeHolds, ComparesWholeFolderNames) {
    struct Row {
        std::u16string volume, folder;
        bool holds;
    };
#ifdef _WIN32
    // A drive holds the folders on it, whatever their letters' case.
    const std::vector<Row> rows{
        {u"C:\\", u"c:\\users\\ann", true},
        {u"Z:\\", u"Z:", true},
        {u"D:\\", u"C:\\users", false},
        {u"C:\\", u"users", false},
    };
#else
    const std::vector<Row> rows{
        {u"/", u"/srv/data", true},
        {u"/media/usb", u"/media/usb/photos/", true},
        {u"/media/usb", u"/media/usb2/photos", false},
        {u"/media/usb", u"/media", false},
        {u"/", u"relative/path", false},
    };
#endif
    for (const Row& row : rows) {
        EXPECT_EQ(platform::VolumeHolds(row.volume, row.folder), row.holds)
            << ::testing::PrintToString(row.volume) << " " << ::testing::PrintToString(row.folder);
    }
}

}  // namespace
