#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "platform/platform.h"

namespace platform {
namespace {

[[noreturn]] void Fail(int error, const std::string& doing, const std::filesystem::path& path) {
    throw std::system_error(error, std::generic_category(), doing + " \"" + path.string() + "\"");
}

// A hidden name, so that a run in progress never shows in the file list, and a short one, so
// that a destination name near the length limit still leaves room for it.
std::filesystem::path TemporaryNameIn(const std::filesystem::path& folder) {
    std::random_device random;
    const auto number = (std::uint64_t{random()} << 32) | random();
    char name[32];
    std::snprintf(name, sizeof name, ".tessomar-%016llx", static_cast<unsigned long long>(number));
    return folder / name;
}

bool LinksUnsupported(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

// Moves from to its new name only if nothing is there, the check and the move being one
// step, so that nothing written meanwhile by another program is ever replaced.
void MoveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return;
    }
    if (errno != EINVAL && errno != ENOSYS && !LinksUnsupported(errno)) {
        Fail(errno, "Cannot create", to);
    }
    // Older kernels and some file systems lack the no-replace rename; a hard link gives the
    // same guarantee, since link() never replaces an entry.
    if (link(from.c_str(), to.c_str()) == 0) {
        unlink(from.c_str());
        return;
    }
    if (!LinksUnsupported(errno)) {
        Fail(errno, "Cannot create", to);
    }
    // File systems without hard links (FAT on removable drives): claim the name with an
    // exclusive create, then rename over that empty claim, which is ours alone.
    const int claim = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (claim < 0) {
        Fail(errno, "Cannot create", to);
    }
    close(claim);
    if (rename(from.c_str(), to.c_str()) != 0) {
        const int error = errno;
        unlink(to.c_str());
        Fail(error, "Cannot create", to);
    }
}

}  // namespace

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
    // Non-blocking, so that a pipe put where a file was expected cannot hang the window at
    // the open; for the regular file that is required the flag changes nothing.
    descriptor_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor_ < 0) {
        Fail(errno, "Cannot open", path);
    }
    struct stat info;
    if (fstat(descriptor_, &info) != 0) {
        const int error = errno;
        close(descriptor_);
        Fail(error, "Cannot open", path);
    }
    if (!S_ISREG(info.st_mode)) {
        close(descriptor_);
        Fail(S_ISDIR(info.st_mode) ? EISDIR : EINVAL, "Not an ordinary file:", path);
    }
    posix_fadvise(descriptor_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() { close(descriptor_); }

std::int64_t InputFile::Size() const {
    struct stat info;
    if (fstat(descriptor_, &info) != 0) {
        Fail(errno, "Cannot read", path_);
    }
    return info.st_size;
}

std::size_t InputFile::Read(std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const ssize_t got = read(descriptor_, buffer.data() + filled, buffer.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            Fail(errno, "Cannot read", path_);
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}

bool InputFile::IsSameFileAs(const std::filesystem::path& path) const {
    struct stat mine;
    struct stat other;
    if (fstat(descriptor_, &mine) != 0 || stat(path.c_str(), &other) != 0) {
        return false;
    }
    return mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}

OutputFile::OutputFile(const std::filesystem::path& destination) : destination_(destination) {
    const std::filesystem::path folder =
        destination.has_parent_path() ? destination.parent_path() : std::filesystem::path(".");
    // 0666 lets the umask decide, so the finished file gets the same permissions as any other
    // file the user creates.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate = TemporaryNameIn(folder);
        descriptor_ = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0) {
            temporary_ = candidate;
            return;
        }
        if (errno != EEXIST) {
            Fail(errno, "Cannot create", destination);
        }
    }
    Fail(EEXIST, "Cannot create", destination);
}

OutputFile::~OutputFile() {
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
    }
}

void OutputFile::Write(std::span<const std::uint8_t> bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = write(descriptor_, bytes.data() + written, bytes.size() - written);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0) {
            Fail(errno, "Cannot write", destination_);
        }
        written += static_cast<std::size_t>(put);
    }
}

void OutputFile::Commit() {
    // No fsync: it would add about a third to a run, and the source, never touched, is still
    // there if the machine fails before the system writes the new file out.
    const int closed = close(descriptor_);
    descriptor_ = -1;
    // Some file systems (network ones) report a failed write only when the file is closed.
    if (closed != 0) {
        Fail(errno, "Cannot write", destination_);
    }
    MoveWithoutReplacing(temporary_, destination_);
    temporary_.clear();
}

}  // namespace platform
