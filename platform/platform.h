// Everything that differs between operating systems: file access, names and separators,
// hidden files, volumes and folder listing. The rest of the program never touches the
// file system except through this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// ---------------------------------------------------------------------------------------
// Names. The window holds texts as UTF-16 strings. On Linux a file name is any byte string,
// so bytes that are not UTF-8 travel as lone surrogates U+DC80..U+DCFF and come back as the
// same bytes: every name the file system holds round-trips through the window.

std::u16string ToText(const std::filesystem::path& path);
std::filesystem::path ToPath(std::u16string_view text);

// The folder separator as the window shows it ('/' on Linux, '\\' on Windows).
char16_t Separator();

// folder + one separator + name; a folder that already ends with the separator gets no second.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

// True if the name is a plain file name that this file system can hold: not empty, not "."
// or "..", and without a separator or any other character the system refuses in a name.
bool IsPlainFileName(std::u16string_view name);

// ---------------------------------------------------------------------------------------
// Entries. Names are taken literally: no wildcard is ever expanded.

enum class EntryKind {
    Missing,       // nothing there
    OrdinaryFile,  // a visible regular file (what the file lookup reports)
    HiddenFile,    // a regular file the system hides (on Linux: its name begins with a dot)
    Folder,
    Other,         // a link, device, pipe, socket, or anything else
};

// What is at path, without following a link at the path itself.
EntryKind Classify(const std::filesystem::path& path);

// True if a and b are the same file by identity (device and inode, or the Windows file
// index), whatever their names; false if either cannot be looked at.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Removes one file. Throws std::system_error naming the path and the reason.
void DeleteFile(const std::filesystem::path& path);

// ---------------------------------------------------------------------------------------
// Binary files. Failures throw std::system_error naming the path and the reason.

// A source, only ever opened for reading.
class InputFile {
public:
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::int64_t Size() const;
    // Reads up to buffer.size() bytes; returns how many were read, 0 at the end.
    std::size_t Read(std::span<std::uint8_t> buffer);
    // True if this file and the entry at path are the same file.
    bool IsSameFileAs(const std::filesystem::path& path) const;

private:
    std::filesystem::path path_;
    int descriptor_ = -1;
};

// A destination that appears under its name only when complete. The bytes go to a new
// temporary file in the destination's folder; Commit moves it to its name without replacing
// anything that exists there. If Commit is not reached (an error, an exception), the
// destructor removes the temporary file.
class OutputFile {
public:
    explicit OutputFile(const std::filesystem::path& destination);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(std::span<const std::uint8_t> bytes);
    // Flushes, closes and moves the file to its name. Throws if anything is there already.
    void Commit();

private:
    std::filesystem::path destination_;
    std::filesystem::path temporary_;
    int descriptor_ = -1;
};

// ---------------------------------------------------------------------------------------
// Text files, as the remembered folder uses them. Contents are the file's bytes, unchanged.

// Reads at most maxBytes from the start of the file. Returns nothing if it cannot be opened
// or read, or is not an ordinary file. The file is closed before the call returns.
std::optional<std::string> ReadFileStart(const std::filesystem::path& path, std::size_t maxBytes);

// Creates or replaces the file with exactly these bytes, closing it before returning.
// Throws std::system_error naming the path and the reason.
void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

// ---------------------------------------------------------------------------------------
// Volumes and folders, for the drive, folder and file lists.

struct Volume {
    std::u16string path;   // where it is opened ("/" for the root)
    std::u16string label;  // a volume label, or empty
};

// The root first, then the user's home folder, then the mount points of real file systems.
std::vector<Volume> ListVolumes();

// The default drive and folder at start-up, and after a bad remembered folder.
std::u16string DefaultFolder();

// True if the path names a folder that exists (links to folders count).
bool FolderExists(std::u16string_view path);

// One step of the way from the root down to a folder, as the folder list shows it.
struct FolderStep {
    std::u16string path;  // the whole path of this folder
    std::u16string name;  // its last component; the root shows its whole path
};

// The root, every ancestor and the folder itself, in that order; "." and ".." components and
// doubled separators are resolved by the text alone. Empty if the path is not absolute.
std::vector<FolderStep> FolderChain(std::u16string_view folder);

// True if folder lies on the volume opened at volumePath (is that path or below it).
// Neither needs to exist.
bool VolumeHolds(std::u16string_view volumePath, std::u16string_view folder);

// The names of a folder's subfolders, and of its ordinary visible files, unsorted.
// Throw std::system_error if the folder cannot be read.
std::vector<std::u16string> ListSubfolders(std::u16string_view folder);
std::vector<std::u16string> ListOrdinaryFiles(std::u16string_view folder);

}  // namespace platform
