#include "browse_folders.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <system_error>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"

namespace bench {
namespace {

namespace fs = std::filesystem;

// Names as a user's folders hold them: several stems, one with a letter outside ASCII,
// extensions in either case and none, so that both the sort and the mask have work to do.
std::string NameOf(std::size_t k, bool& isText) {
    static const char* const kStems[] = {"IMG_", "report ", "Notes-", "Caf\xc3\xa9 menu ", "data_"};
    static const char* const kExtensions[] = {".txt", ".JPG", ".pdf", ".TXT", ".csv", ""};
    const std::size_t extension = k % 6;
    isText = extension == 0 || extension == 3;
    char name[64];
    std::snprintf(name, sizeof name, "%s%06zu%s", kStems[k % 5], k, kExtensions[extension]);
    return name;
}

BrowseFolder Make(const fs::path& root, const std::string& title, const std::string& leaf,
                  std::size_t files, std::size_t subfolders) {
    BrowseFolder folder{title, root / leaf, root / ("state-" + leaf), 0, 0};
    fs::create_directory(folder.path);
    for (std::size_t k = 0; k < files; ++k) {
        bool isText = false;
        const fs::path file = folder.path / NameOf(k, isText);
        const int descriptor = open(file.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (descriptor < 0) throw std::system_error(errno, std::generic_category(), file);
        close(descriptor);
        ++folder.files;
        if (isText) ++folder.textFiles;
    }
    for (std::size_t k = 0; k < subfolders; ++k) {
        bool isText = false;
        fs::create_directory(folder.path / NameOf(k, isText));
    }
    fs::create_directory(folder.state);
    const remembered::RememberedFolder remembered(platform::FromNative(folder.state.native()));
    if (remembered.Write(platform::FromNative(folder.path.native())) !=
        remembered::WriteOutcome::Written) {
        throw std::runtime_error("cannot remember " + folder.path.string());
    }
    return folder;
}

}  // namespace

std::vector<BrowseFolder> MakeBrowseFolders(const fs::path& root) {
    return {
        Make(root, "empty folder", "empty", 0, 0),
        Make(root, "10,000 files", "files-10000", 10000, 0),
        Make(root, "100,000 files", "files-100000", 100000, 0),
        Make(root, "10,000 subfolders", "folders-10000", 0, 10000),
    };
}

}  // namespace bench
