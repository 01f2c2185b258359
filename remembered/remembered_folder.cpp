#include "remembered/remembered_folder.h"

#include <system_error>
#include <utility>

#include "platform/platform.h"
#include "remembered/first_field.h"

namespace remembered {

namespace {

// A folder path is at most a few KiB; anything past this is not a folder we wrote.
constexpr std::size_t kReadLimit = 64 * 1024;

}  // namespace

RememberedFolder::RememberedFolder(std::filesystem::path workingFolder)
    : file_(std::move(workingFolder) / kFileName) {}

bool RememberedFolder::Exists() const {
    return platform::Classify(file_) == platform::EntryKind::OrdinaryFile;
}

std::u16string RememberedFolder::Read() const {
    // One byte past the limit tells a file that ends there from one that goes on.
    std::optional<std::string> bytes = platform::ReadFileStart(file_, kReadLimit + 1);
    if (!bytes) {
        throw std::system_error(std::make_error_code(std::errc::io_error),
                                "cannot read " + file_.string());
    }
    const bool wholeFile = bytes->size() <= kReadLimit;
    if (!wholeFile) bytes->resize(kReadLimit);
    const std::optional<std::string> field = FirstField(*bytes, wholeFile);
    if (!field) {
        throw std::system_error(std::make_error_code(std::errc::invalid_argument),
                                file_.string() + " names no folder");
    }
    return platform::ToText(std::filesystem::path(*field));
}

void RememberedFolder::Write(const std::u16string& folder) const {
    platform::WriteWholeFile(file_, platform::ToPath(folder).native() + "\r\n");
}

void RememberedFolder::Delete() const { platform::DeleteFile(file_); }

}  // namespace remembered
