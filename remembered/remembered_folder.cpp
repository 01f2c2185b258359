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

RememberedFolder::RememberedFolder(std::u16string workingFolder)
    : file_(platform::JoinPath(workingFolder, kFileName)) {}

bool RememberedFolder::Exists() const {
    return platform::Classify(file_) == platform::EntryKind::OrdinaryFile;
}

std::u16string RememberedFolder::Read() const {
    // One byte past the limit tells a file that ends there from one that goes on.
    std::optional<std::string> bytes = platform::ReadFileStart(file_, kReadLimit + 1);
    if (!bytes) {
        throw platform::FileError(std::make_error_code(std::errc::io_error), u"Cannot read", file_);
    }
    const bool wholeFile = bytes->size() <= kReadLimit;
    if (!wholeFile) bytes->resize(kReadLimit);
    const std::optional<std::string> field = FirstField(*bytes, wholeFile);
    if (!field) {
        throw platform::FileError(std::make_error_code(std::errc::invalid_argument),
                                  u"No folder named in", file_);
    }
    return platform::DecodeLine(*field);
}

void RememberedFolder::Write(const std::u16string& folder) const {
    const std::optional<std::string> line = platform::EncodeLine(folder);
    if (!line) {
        throw platform::FileError(std::make_error_code(std::errc::illegal_byte_sequence),
                                  u"Cannot write the folder's name into", file_);
    }
    platform::WriteWholeFile(file_, *line + "\r\n");
}

void RememberedFolder::Delete() const { platform::RemoveFile(file_); }

}  // namespace remembered
