// The folders the browsing benchmark opens, generated once per run: an empty one, many files,
// many subfolders.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

struct BrowseFolder {
    std::string title;
    std::filesystem::path path;
    // Holds a "LastPath" naming path, so that a window loaded from there opens in it.
    std::filesystem::path state;
    std::size_t files = 0;
    std::size_t textFiles = 0;  // those the mask "*.txt" shows
};

// Made under root: the empty folder first, then 10,000 and 100,000 files, 10,000 subfolders.
std::vector<BrowseFolder> MakeBrowseFolders(const std::filesystem::path& root);

}  // namespace bench
