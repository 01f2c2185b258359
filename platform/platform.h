// Everything that differs between operating systems: file access, names and their encodings,
// letter case, hidden files, volumes and folder listing. The rest of the program never touches
// the file system, nor decides how a text becomes bytes, except through this header.
//
// One rule for texts: every path, file name and message in the program is a std::u16string,
// the window's own text type. Only the sources behind this header turn it into what the
// system takes: on Linux the name's bytes (valid UTF-8 decoded; any other byte carried as one
// unit U+DC80..U+DCFF, so every name on disk comes back byte for byte), on Windows the wide
// string as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform {

// ---------------------------------------------------------------------------------------
// Names

// The folder separator as the window shows it ('/' on Linux, '\\' on Windows).
char16_t Separator();

// folder + one separator + name; a folder that already ends with the separator gets no second.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

// Why a text cannot be a plain file name in a folder, if it cannot.
enum class NameProblem {
    None,
    Empty,
    DotName,       // "." or "..": they name folders
    FolderPart,    // holds a separator
    BadCharacter,  // a character the file system refuses in a name
    DeviceName,    // a name the system keeps for a device (on Windows: CON, NUL, COM1, ...)
    TooLong,       // longer than the file system takes for one name
};
NameProblem CheckFileName(std::u16string_view name);

// True if the two texts name the same entry in one folder by this system's rule for letter
// case (on Linux letters must agree in case, on Windows they need not).
bool SameName(std::u16string_view a, std::u16string_view b);
// A key under which names that SameName calls equal are found as one.
std::u16string NameKey(std::u16string_view name);

// The system's own form of a name, and back, exactly; for the tests and this folder's sources,
// which meet the file system directly.
using NativeString = std::filesystem::path::string_type;
std::u16string FromNative(const NativeString& name);
NativeString ToNative(std::u16string_view text);

#ifdef _WIN32
// Windows' wide strings are UTF-16, as the program's texts are: a text goes to the system's W
// functions unit for unit, by a change of type alone, and comes back the same way; for this
// folder's sources and the Windows front-end. The pointer is good while the text lives, and
// its units end with a zero only where the text is a whole std::u16string, as the calls that
// take no length need.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide strings are UTF-16 on Windows");
inline const wchar_t* Wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}
inline std::u16string FromWide(std::wstring_view text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}
#endif

// ---------------------------------------------------------------------------------------
// Texts in files and failures

// The bytes that the "LastPath" line holds for a folder (on Linux its name's own bytes, on
// Windows the system's ANSI code page). Nothing if the text has no such bytes.
std::optional<std::string> EncodeLine(std::u16string_view text);
std::u16string DecodeLine(std::string_view bytes);

// The code of one UTF-16 unit in the system's single-byte character set, which password
// characters take in the key: on Windows the ANSI code page, on Linux Windows-1252 (so that a
// file moves between a Linux machine and a Western Windows machine). Nothing if the unit has
// no byte of its own there: a character outside the set, either half of a surrogate pair,
// and on a code page of two-byte characters (Japanese, Chinese, Korean) each of those.
std::optional<std::uint8_t> SingleByteCode(char16_t unit);

// Failures of the file services: what was being done, to which path, and the system's reason.
class FileError : public std::system_error {
public:
    FileError(std::error_code reason, std::u16string_view doing, std::u16string_view path);
    const std::u16string& Path() const { return path_; }
    // "<doing> "<path>": <reason>", ready to show.
    std::u16string Text() const;

private:
    std::u16string doing_;
    std::u16string path_;
};

// The system's reason for a failure, in words the window can show.
std::u16string ReasonText(const std::error_code& reason);

// ---------------------------------------------------------------------------------------
// Entries. Names are taken literally: no wildcard is ever expanded.

enum class EntryKind {
    Missing,       // nothing there
    OrdinaryFile,  // a visible regular file (what the file lookup reports)
    HiddenFile,    // a regular file the system hides (on Linux: its name begins with a dot)
    Folder,
    Other,        // a link, device, pipe, socket, or an entry that cannot be looked at
    PathTooLong,  // the folder and the name together are longer than the system takes
};

// What is at path, without following a link at the path itself.
EntryKind Classify(std::u16string_view path);

// Which file an entry is, whatever its names: device and inode on Linux, volume serial and
// file index on Windows. Some file systems do not keep their numbers: FAT and exFAT, FUSE
// and network shares hand out a new one whenever the system forgets an entry and looks it
// up again, and may give each spelling of one name a number of its own. There the number is
// left at 0 and the file is told by what the file system does keep: its name as the file
// system matches names (letter case folded), its size and its modification time.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    // Only where the file system keeps no lasting numbers; empty and 0 elsewhere.
    std::u16string matchedName;
    std::int64_t size = 0;
    std::int64_t modified = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
// Nothing if the entry cannot be looked at.
std::optional<FileIdentity> IdentityOf(std::u16string_view path);

// True if a and b are the same file by identity; false if either cannot be looked at.
bool SameFile(std::u16string_view a, std::u16string_view b);

// The spelling under which the folder lists the entry that name reaches in it: name itself,
// unless the file system matches names more loosely than it lists them (one that ignores
// letter case answers for "PHOTO.JPG" with the entry it lists as "photo.jpg"). Nothing if no
// entry answers to name. Throws FileError if the folder cannot be read.
std::optional<std::u16string> ListedName(std::u16string_view folder, std::u16string_view name);

// Letters in upper case, for comparing names without regard to letter case (Latin, Greek and
// Cyrillic letters; every other unit is kept).
std::u16string UpperCase(std::u16string text);

// Removes one file. Throws FileError.
void RemoveFile(std::u16string_view path);

// Removes the entry at path (a link itself, not what it points to) unless it is the file
// spared, whatever name that file has by now; returns false, removing nothing, if it is.
// Throws FileError. On Windows the check and the removal act on one open handle; on Linux
// they are two calls, microseconds apart, which is as close as that system allows.
bool RemoveFileUnless(std::u16string_view path, const FileIdentity& spared);

// What the user's desktop calls its wastebasket: "Trash" on Linux, "Recycle Bin" on Windows.
std::u16string WastebasketName();

enum class Discarded {
    MovedToWastebasket,  // the user can restore it from the file manager
    DeletedForGood,      // its disk has no wastebasket and none could be made there
    Spared,              // it is the file spared: nothing was done
};

// Moves the file at path to the wastebasket of its disk unless it is the file spared (if
// one is given), whatever name that file has by now; where there is no wastebasket, removes
// it as RemoveFileUnless does. Throws FileError if it can neither be moved nor removed.
// Linux: the Trash that desktops share, in the user's data folder ($XDG_DATA_HOME, by
// default ~/.local/share) for the file system that holds it, else in the top folder of the
// file's own file system; the file is only ever renamed, never copied. Windows: the shell's
// Recycle Bin, without a dialog; the look at the entry and the shell's move are two steps,
// microseconds apart, and the Recycle Bin's count of items tells whether the shell recycled
// the file or deleted it for good, which it does without saying where it has no room.
Discarded Discard(std::u16string_view path, const std::optional<FileIdentity>& spared);

// ---------------------------------------------------------------------------------------
// Binary files. Failures throw FileError.

// What tells one state of a file's contents from another: two looks at an open file that
// give equal versions saw the same contents, unless a program set the time back on purpose.
struct FileVersion {
    std::int64_t size = 0;
    std::int64_t modified = 0;  // last modification, in the system's own units
    FileIdentity identity;
    // No name leads to the file any more: deleted, or another file put in its place.
    bool removed = false;
    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// The reason a source fails with when another program holds it open for writing, or opens
// it so while it is read.
std::error_code BeingWritten();

// A source, only ever opened for reading.
class InputFile {
public:
    // Throws FileError: BeingWritten where a lease is refused because another program holds
    // the file open for writing (a writable shared mapping included).
    explicit InputFile(std::u16string_view path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The open file's version now (the file itself, whatever its name has become).
    FileVersion Version() const;
    // The version to read, once any later change to the file would show in it. On Linux a
    // read lease guards the file where the file system and the file's owner allow one: no
    // other program can then write it unseen, through a memory mapping neither. Without a
    // lease a change shows only in the size and the modification time, and a file system
    // whose clock steps coarsely (2 s on FAT) keeps one time for every write within a step:
    // a file written less than a step ago is read only once that step has passed.
    FileVersion SettledVersion();
    // Throws FileError (BeingWritten) once another program has opened the file for writing
    // while the lease held it; where no lease is held, never.
    void CheckUnwritten() const;
    // Reads up to buffer.size() bytes; returns how many were read, 0 at the end. May be
    // called from another thread than the one that opened the file, one call at a time.
    // Throws FileError (BeingWritten) as CheckUnwritten does.
    std::size_t Read(std::span<std::uint8_t> buffer);
    // True if this file and the entry at path are the same file.
    bool IsSameFileAs(std::u16string_view path) const;

private:
    friend class OutputFile;
    struct Handle;
    std::u16string path_;
    std::unique_ptr<Handle> handle_;
};

// A destination that appears under its name only when complete, and never in place of
// anything. What it promises on every system:
// - The destination's folder is held from the start: whatever happens to the folder's path
//   during the run (renamed, moved), the file is made, named and removed in that very
//   folder, and nothing is ever left behind under a path that no longer leads there.
// - If Commit is not reached (an error, an exception), nothing is left once the object is
//   gone.
// - It gets the access a copy of accessOf would get: on Linux accessOf's permission bits as
//   the umask lets them through, on Windows what the folder passes on to new files.
// How much a program ended on the spot (SIGKILL, a power cut) leaves depends on the file
// system. Linux: the file is created without a name (O_TMPFILE) and given its name by
// Commit, so nothing is left; a file system without unnamed files gets a hidden temporary
// in the folder instead, which such an end leaves behind. Windows: the hidden temporary is
// marked for deletion when it is made, and unmarked and renamed through its handle only when
// complete, so nothing is left; a file system that refuses the mark or that rename gets a
// temporary the program removes itself, which such an end leaves behind.
class OutputFile {
public:
    OutputFile(std::u16string_view destination, const InputFile& accessOf);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // May be called from another thread than the one that created the file, one call at a
    // time.
    void Write(std::span<const std::uint8_t> bytes);
    // Closes the file and gives it its name, never replacing anything there: throws
    // FileError (file_exists) if the name was taken meanwhile, and the file is dropped.
    void Commit();

private:
    struct Handle;
    std::u16string destination_;
    std::unique_ptr<Handle> handle_;
};

// Memory for the blocks a run reads into and writes from, taken from the system in one piece
// at a page boundary. On Linux it asks for huge pages where the system has them: each first
// touch of a 4 KiB page is a fault, and a virtual machine pays dearly for faults, so filling
// a run's first blocks a page at a time held the keystream up for several milliseconds.
// Throws std::bad_alloc.
class BlockMemory {
public:
    explicit BlockMemory(std::size_t bytes);
    ~BlockMemory();
    BlockMemory(const BlockMemory&) = delete;
    BlockMemory& operator=(const BlockMemory&) = delete;

    std::span<std::uint8_t> Bytes() const { return {start_, size_}; }

private:
    std::uint8_t* start_;
    std::size_t size_;
};

// ---------------------------------------------------------------------------------------
// Stopping from outside

// Requests to end the program that come from outside it, on Linux: the signals SIGTERM (a
// shutdown, kill), SIGHUP (the terminal closed) and SIGINT (Ctrl+C). Without this, they end
// the program on the spot, which in the middle of a run leaves a partial file wherever the
// result is a named temporary. (The Windows program has no console: the end of the session
// reaches its window as a message, and the window stops a run as for a close.)
//
// While a StopRequests object lives, such a request is only recorded, and Arrived() turns
// true: the front-end then stops a run as it does for a closed window (nothing written)
// and ends the program. A request the program was started to ignore (nohup) stays ignored.
// It also makes a write past the process's file size limit (ulimit -f) fail as an ordinary
// FileError, "File too large", instead of ending the program. main() creates one, before
// any thread starts; the destructor restores the system's own handling.
#ifndef _WIN32
class StopRequests {
public:
    StopRequests();
    ~StopRequests();
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    // True once a request has arrived while an object lives; false when none lives. Only
    // reads a flag, so it may be called from any thread, as often as wanted.
    static bool Arrived();
};
#endif

// ---------------------------------------------------------------------------------------
// Small text files, as the remembered folder uses them. Contents are the file's bytes.

// Reads at most maxBytes from the start of the file. Returns nothing if it cannot be opened
// or read, or is not an ordinary file. The file is closed before the call returns.
std::optional<std::string> ReadFileStart(std::u16string_view path, std::size_t maxBytes);

// Creates or replaces the file with exactly these bytes, closing it before returning.
// Throws FileError.
void WriteWholeFile(std::u16string_view path, std::string_view bytes);

// ---------------------------------------------------------------------------------------
// Volumes and folders, for the drive, folder and file lists.

struct Volume {
    std::u16string path;   // where it is opened ("/" for the root, "C:\\" on Windows)
    std::u16string label;  // a volume label, or empty
    std::u16string text;   // what the drive list shows for it
};

// Linux: the root first, then the user's home folder, then the mount points of real file
// systems. Windows: the drives in letter order.
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

// Names as a folder listing gives them, in the folder's own order, one after another in one
// text. The file list reads its folder again at every change of its mask, into the same
// NameList each time: it keeps its storage, so that reading a big folder again allocates
// nothing and touches no fresh memory.
class NameList {
public:
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::u16string_view operator[](std::size_t k) const {
        const std::size_t start = k == 0 ? 0 : ends_[k - 1];
        return std::u16string_view(units_).substr(start, ends_[k] - start);
    }
    std::vector<std::u16string> Texts() const;

    // Empties the list, keeping its storage.
    void Clear();
    void Add(std::u16string_view name);
    friend bool operator==(const NameList&, const NameList&) = default;

private:
    std::u16string units_;
    std::vector<std::size_t> ends_;
};

// The names of a folder's subfolders, and of its ordinary visible files, unsorted, in place
// of what names held. Throw FileError if the folder cannot be read, and leave names empty.
void ListSubfolders(std::u16string_view folder, NameList& names);
void ListOrdinaryFiles(std::u16string_view folder, NameList& names);
// Both from one reading of the folder, as the folder list and the file list beside it show
// it: a big folder is read once, not once for each.
void ListFolder(std::u16string_view folder, NameList& subfolders, NameList& files);

}  // namespace platform
