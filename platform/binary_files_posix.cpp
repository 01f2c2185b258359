#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "platform/descriptor_posix.h"
#include "platform/file_systems_posix.h"
#include "platform/platform.h"
#include "platform/result_file_posix.h"
#include "platform/source_leases_posix.h"
#include "platform/system_parts.h"

namespace platform {

using detail::SystemReason;
using posix::FileSystemRules;
using posix::IdentityFrom;
using posix::LastComponent;
using posix::ModifiedOf;
using posix::RulesOfOpenFile;

namespace {

std::atomic<bool> leasesWanted{true};

// Takes a read lease on the open source where the file system and the file's owner allow
// one; true if it holds.
bool TakeLease(int descriptor, std::u16string_view path) {
    // The kernel tells the holder that a writer is waiting by a signal; SIGURG is one the
    // system discards unless asked to catch it, where SIGIO would end the program. The
    // lease itself is looked at instead.
    if (!leasesWanted || fcntl(descriptor, F_SETSIG, SIGURG) != 0) return false;
    if (fcntl(descriptor, F_SETLEASE, F_RDLCK) == 0) return true;
    // Refused because a program holds the file open for writing; any other refusal (a file
    // system without leases, a file of another owner) leaves the checks by size and time.
    if (errno == EAGAIN) throw FileError(BeingWritten(), u"Cannot read", path);
    return false;
}

}  // namespace

posix::WithoutSourceLeases::WithoutSourceLeases() { leasesWanted = false; }
posix::WithoutSourceLeases::~WithoutSourceLeases() { leasesWanted = true; }

struct InputFile::Handle {
    posix::OwnedDescriptor file;
    FileSystemRules rules;
    bool leased = false;
};

struct OutputFile::Handle {
    Handle(std::u16string_view destination, mode_t mode) : result(destination, mode, {}) {}
    posix::ResultFile result;
};

InputFile::InputFile(std::u16string_view path) : path_(path), handle_(std::make_unique<Handle>()) {
    // Non-blocking, so that a pipe put where a file was expected cannot hang the window at
    // the open; for the regular file that is required the flag changes nothing.
    handle_->file = posix::OwnedDescriptor(
        open(ToNative(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!handle_->file.Valid()) {
        throw FileError(SystemReason(errno), u"Cannot open", path);
    }
    const int descriptor = handle_->file.Get();
    struct stat info;
    if (fstat(descriptor, &info) != 0) {
        throw FileError(SystemReason(errno), u"Cannot open", path);
    }
    if (!S_ISREG(info.st_mode)) {
        throw FileError(SystemReason(S_ISDIR(info.st_mode) ? EISDIR : EINVAL),
                        u"Not an ordinary file:", path);
    }
    handle_->rules = RulesOfOpenFile(descriptor);
    handle_->leased = TakeLease(descriptor, path);
    posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() = default;

FileVersion InputFile::Version() const {
    struct stat info;
    if (fstat(handle_->file.Get(), &info) != 0) {
        throw FileError(SystemReason(errno), u"Cannot read", path_);
    }
    return {info.st_size, ModifiedOf(info),
            IdentityFrom(info, handle_->rules, LastComponent(path_)), info.st_nlink == 0};
}

FileVersion InputFile::SettledVersion() {
    // A few steps of waiting at most: a file written again and again all that time is being
    // written now.
    constexpr int kLooks = 4;
    const std::int64_t step = handle_->rules.timeStep;
    FileVersion version = Version();
    if (handle_->leased || step <= 1) return version;
    for (int look = 0; look < kLooks; ++look) {
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        const std::int64_t nanoseconds = std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
        // The time a write made now would get: once it is past the file's, a change shows.
        const std::int64_t waitFor = version.modified + step - nanoseconds;
        if (waitFor < 0) return version;
        const struct timespec pause = {static_cast<time_t>(waitFor / 1'000'000'000),
                                       static_cast<long>(waitFor % 1'000'000'000)};
        nanosleep(&pause, nullptr);
        const FileVersion later = Version();
        if (later == version) return version;
        version = later;
    }
    throw FileError(BeingWritten(), u"Cannot read", path_);
}

void InputFile::CheckUnwritten() const {
    // A lease a writer has asked to break is no longer a read lease, though the writer still
    // waits for it.
    if (handle_->leased && fcntl(handle_->file.Get(), F_GETLEASE) != F_RDLCK) {
        throw FileError(BeingWritten(), u"Cannot trust what was read from", path_);
    }
}

std::size_t InputFile::Read(std::span<std::uint8_t> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const ssize_t got =
            read(handle_->file.Get(), buffer.data() + filled, buffer.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw FileError(SystemReason(errno), u"Cannot read", path_);
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    CheckUnwritten();
    return filled;
}

bool InputFile::IsSameFileAs(std::u16string_view path) const {
    const std::optional<FileIdentity> other = IdentityOf(path);
    return other && *other == Version().identity;
}

OutputFile::OutputFile(std::u16string_view destination, const InputFile& accessOf)
    : destination_(destination) {
    struct stat source;
    if (fstat(accessOf.handle_->file.Get(), &source) != 0) {
        throw FileError(SystemReason(errno), u"Cannot create", destination);
    }
    // The source's permission bits, as a copy gets them: a file only its owner may read
    // must not come out readable by everyone once deciphered.
    handle_ = std::make_unique<Handle>(destination, source.st_mode & 0777);
}

OutputFile::~OutputFile() = default;

void OutputFile::Write(std::span<const std::uint8_t> bytes) { handle_->result.Write(bytes); }

void OutputFile::Commit() { handle_->result.Name(); }

}  // namespace platform
