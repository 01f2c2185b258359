// Small text files, read and written as raw bytes so that a folder name the file system
// holds in any encoding comes back exactly as it went in.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/descriptor_posix.h"
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

namespace {

// Returns 0, or the reason the bytes could not all be written.
int WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return EIO;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// A new file beside the target, so that the target is replaced in one step and a failure
// half way never leaves it cut short.
std::string CreateSibling(std::u16string_view path, posix::OwnedDescriptor& file) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = ToNative(path);
        candidate += ".new-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        file = posix::OwnedDescriptor(
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (file.Valid()) return candidate;
        if (errno != EEXIST) throw FileError(detail::SystemReason(errno), u"Cannot write", path);
    }
    throw FileError(detail::SystemReason(EEXIST), u"Cannot write", path);
}

// The siblings an earlier write left when its process was ended on the spot (SIGKILL, a
// power cut) between creating one and renaming it: NAME.new-PID-N, whose PID runs no more.
void RemoveSiblingsOfEndedWrites(std::u16string_view path) {
    const std::string target = ToNative(path);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string prefix =
        (slash == std::string::npos ? target : target.substr(slash + 1)) + ".new-";
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) return;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix)) continue;
        const std::string_view rest = name.substr(prefix.size());
        const std::size_t dash = rest.find('-');
        const auto digits = [](std::string_view text) {
            return !text.empty() && text.size() < 10 &&
                   text.find_first_not_of("0123456789") == std::string_view::npos;
        };
        if (dash == std::string_view::npos || !digits(rest.substr(0, dash)) ||
            !digits(rest.substr(dash + 1))) {
            continue;
        }
        const pid_t process = static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
        struct stat status;
        if (process <= 0 || ::kill(process, 0) == 0 || errno != ESRCH ||
            ::fstatat(::dirfd(listing), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(status.st_mode)) {
            continue;
        }
        ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
}

}  // namespace

std::optional<std::string> ReadFileStart(std::u16string_view path, std::size_t maxBytes) {
    // Not blocking on open means a pipe put in the file's place cannot hang the start.
    const posix::OwnedDescriptor file(
        ::open(ToNative(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.Valid()) return std::nullopt;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;

    // Grown as the bytes come, so that a generous limit (the mount table's is megabytes)
    // costs a short file nothing.
    std::string bytes;
    char chunk[16384];
    while (bytes.size() < maxBytes) {
        const ssize_t got =
            ::read(file.Get(), chunk, std::min(sizeof chunk, maxBytes - bytes.size()));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    return bytes;
}

void WriteWholeFile(std::u16string_view path, std::string_view bytes) {
    RemoveSiblingsOfEndedWrites(path);
    posix::OwnedDescriptor file;
    const std::string temporary = CreateSibling(path, file);
    int error = WriteAll(file.Get(), bytes);
    if (error == 0 && ::fsync(file.Get()) != 0) error = errno;
    if (file.Close() != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), ToNative(path).c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        throw FileError(detail::SystemReason(error), u"Cannot write", path);
    }
}

}  // namespace platform
