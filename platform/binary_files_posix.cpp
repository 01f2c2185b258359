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

[[noreturn]] void Fail(int error, std::u16string doing, std::u16string_view path) {
    throw FileError(std::error_code(error, std::generic_category()), std::move(doing),
                    std::u16string(path));
}

// A hidden name, so that a run in progress never shows in the file list, and a short one, so
// that a destination name near the length limit still leaves room for it.
std::string TemporaryNameIn(const std::string& folder) {
    std::random_device random;
    const auto number = (std::uint64_t{random()} << 32) | random();
    char name[32];
    std::snprintf(name, sizeof name, ".tessomar-%016llx", static_cast<unsigned long long>(number));
    return folder + "/" + name;
}

bool LinksUnsupported(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

// Moves from to its new name only if nothing is there, the check and the move being one
// step, so that nothing written meanwhile by another program is ever replaced.
void MoveWithoutReplacing(const std::string& from, const std::string& to,
                          std::u16string_view destination) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return;
    }
    if (errno != EINVAL && errno != ENOSYS && !LinksUnsupported(errno)) {
        Fail(errno, u"Cannot create", destination);
    }
    // Older kernels and some file systems lack the no-replace rename; a hard link gives the
    // same guarantee, since link() never replaces an entry.
    if (link(from.c_str(), to.c_str()) == 0) {
        unlink(from.c_str());
        return;
    }
    if (!LinksUnsupported(errno)) {
        Fail(errno, u"Cannot create", destination);
    }
    // File systems without hard links (FAT on removable drives): claim the name with an
    // exclusive create, then rename over that empty claim, which is ours alone.
    const int claim = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (claim < 0) {
        Fail(errno, u"Cannot create", destination);
    }
    close(claim);
    if (rename(from.c_str(), to.c_str()) != 0) {
        const int error = errno;
        unlink(to.c_str());
        Fail(error, u"Cannot create", destination);
    }
}

}  // namespace

struct InputFile::Handle {
    int descriptor = -1;
    ~Handle() {
        if (descriptor >= 0) close(descriptor);
    }
};

struct OutputFile::Handle {
    int descriptor = -1;
    std::string temporary;
    ~Handle() {
        if (descriptor >= 0) close(descriptor);
        if (!temporary.empty()) unlink(temporary.c_str());
    }
};

InputFile::InputFile(std::u16string_view path) : path_(path), handle_(std::make_unique<Handle>()) {
    // Non-blocking, so that a pipe put where a file was expected cannot hang the window at
    // the open; for the regular file that is required the flag changes nothing.
    const int descriptor =
        open(ToNative(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) {
        Fail(errno, u"Cannot open", path);
    }
    handle_->descriptor = descriptor;
    struct stat info;
    if (fstat(descriptor, &info) != 0) {
        Fail(errno, u"Cannot open", path);
    }
    if (!S_ISREG(info.st_mode)) {
        Fail(S_ISDIR(info.st_mode) ? EISDIR : EINVAL, u"Not an ordinary file:", path);
    }
    posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() = default;

std::int64_t InputFile::Size() const {
    struct stat info;
    if (fstat(handle_->descriptor, &info) != 0) {
        Fail(errno, u"Cannot read", path_);
    }
    return info.st_size;
}

std::size_t InputFile::Read(std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const ssize_t got =
            read(handle_->descriptor, buffer.data() + filled, buffer.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            Fail(errno, u"Cannot read", path_);
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}

bool InputFile::IsSameFileAs(std::u16string_view path) const {
    struct stat mine;
    if (fstat(handle_->descriptor, &mine) != 0) {
        return false;
    }
    const std::optional<FileIdentity> other = IdentityOf(path);
    return other && *other == FileIdentity{static_cast<std::uint64_t>(mine.st_dev),
                                           static_cast<std::uint64_t>(mine.st_ino)};
}

OutputFile::OutputFile(std::u16string_view destination)
    : destination_(destination), handle_(std::make_unique<Handle>()) {
    const std::string target = ToNative(destination);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    // 0666 lets the umask decide, so the finished file gets the same permissions as any other
    // file the user creates.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = TemporaryNameIn(folder.empty() ? "/" : folder);
        const int descriptor =
            open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            handle_->descriptor = descriptor;
            handle_->temporary = std::move(candidate);
            return;
        }
        if (errno != EEXIST) {
            Fail(errno, u"Cannot create", destination);
        }
    }
    Fail(EEXIST, u"Cannot create", destination);
}

OutputFile::~OutputFile() = default;

void OutputFile::Write(std::span<const std::uint8_t> bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put =
            write(handle_->descriptor, bytes.data() + written, bytes.size() - written);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0) {
            Fail(errno, u"Cannot write", destination_);
        }
        written += static_cast<std::size_t>(put);
    }
}

void OutputFile::Commit() {
    // No fsync: it would add about a third to a run, and the source, never touched, is still
    // there if the machine fails before the system writes the new file out.
    const int closed = close(handle_->descriptor);
    handle_->descriptor = -1;
    // Some file systems (network ones) report a failed write only when the file is closed.
    if (closed != 0) {
        Fail(errno, u"Cannot write", destination_);
    }
    MoveWithoutReplacing(handle_->temporary, ToNative(destination_), destination_);
    handle_->temporary.clear();
}

}  // namespace platform
