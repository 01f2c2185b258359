#include "remembered/remembered_folder.h"

#include <system_error>
#include <utility>

#include "platform/platform.h"
#include "remembered/first_field.h"
#include "remembered/line_format.h"

namespace remembered {

RememberedFolder::RememberedFolder(std::u16string workingFolder)
    : workingFolder_(std::move(workingFolder)),
      file_(platform::JoinPath(workingFolder_, kFileName)) {}

bool RememberedFolder::Exists() const {
    return platform::Classify(file_) == platform::EntryKind::OrdinaryFile;
}

std::u16string RememberedFolder::Read() const {
    // One byte past the limit tells a file that ends there from one that goes on.
    std::optional<std::string> bytes = platform::ReadFileStart(file_, kLineLimit + 1);
    if (!bytes) {
        throw platform::FileError(std::make_error_code(std::errc::io_error), u"Cannot read", file_);
    }
    const bool wholeFile = bytes->size() <= kLineLimit;
    if (!wholeFile) bytes->resize(kLineLimit);
    const std::optional<std::string> field = FirstField(*bytes, wholeFile);
    if (!field) {
        throw platform::FileError(std::make_error_code(std::errc::invalid_argument),
                                  u"No folder named in", file_);
    }
    return platform::DecodeLine(*field);
}

WriteOutcome RememberedFolder::Write(const std::u16string& folder) const {
    const std::optional<std::string> bytes = platform::EncodeLine(folder);
    const std::optional<std::string> line = bytes ? LineFor(*bytes) : std::nullopt;
    if (!line) return WriteOutcome::FolderNameUnfit;
    if (HoldsForeignFile()) return WriteOutcome::ForeignFile;
    platform::WriteWholeFile(file_, *line);
    return WriteOutcome::Written;
}

bool RememberedFolder::Delete() const {
    if (HoldsForeignFile()) return false;
    platform::RemoveFile(file_);
    return true;
}

bool RememberedFolder::HoldsForeignFile() const {
    const platform::EntryKind kind = platform::Classify(file_);
    if (kind == platform::EntryKind::Missing) return false;
    // The program only ever writes a file here: a link, a folder or a device is someone else's.
    if (kind != platform::EntryKind::OrdinaryFile && kind != platform::EntryKind::HiddenFile) {
        return true;
    }
    const std::optional<std::string> bytes = platform::ReadFileStart(file_, kLineLimit + 1);
    return !bytes || !CouldHaveWritten(*bytes);
}

bool RememberedFolder::IsItsFile(std::u16string_view folder, std::u16string_view name) const {
    // By the folder's identity: the working directory may be reached by many paths. And by
    // the file's own, where it exists: a folder that ignores letter case, as on a memory
    // card, finds it under "lastpath" too.
    return (platform::SameName(name, kFileName) && platform::SameFile(folder, workingFolder_)) ||
           platform::SameFile(platform::JoinPath(folder, name), file_);
}

}  // namespace remembered
