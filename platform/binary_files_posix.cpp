#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "platform/platform.h"
#include "platform/result_file_posix.h"

namespace platform {
namespace {

[[noreturn]] void Fail(int error, std::u16string doing, std::u16string_view path) {
    throw FileError(std::error_code(error, std::generic_category()), std::move(doing),
                    std::u16string(path));
}

}  // namespace

struct InputFile::Handle {
    int descriptor = -1;
    ~Handle() {
        if (descriptor >= 0) close(descriptor);
    }
};

struct OutputFile::Handle {
    Handle(std::u16string_view destination, mode_t mode) : result(destination, mode, {}) {}
    posix::ResultFile result;
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

std::int64_t InputFile::Size() const { return Version().size; }

FileVersion InputFile::Version() const {
    struct stat info;
    if (fstat(handle_->descriptor, &info) != 0) {
        Fail(errno, u"Cannot read", path_);
    }
    constexpr std::int64_t kNanoseconds = 1'000'000'000;
    return {info.st_size, std::int64_t{info.st_mtim.tv_sec} * kNanoseconds + info.st_mtim.tv_nsec,
            FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                         static_cast<std::uint64_t>(info.st_ino)}};
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
    const std::optional<FileIdentity> other = IdentityOf(path);
    return other && *other == Version().identity;
}

OutputFile::OutputFile(std::u16string_view destination, const InputFile& accessOf)
    : destination_(destination) {
    struct stat source;
    if (fstat(accessOf.handle_->descriptor, &source) != 0) {
        Fail(errno, u"Cannot create", destination);
    }
    // The source's permission bits, as a copy gets them: a file only its owner may read
    // must not come out readable by everyone once deciphered.
    handle_ = std::make_unique<Handle>(destination, source.st_mode & 0777);
}

OutputFile::~OutputFile() = default;

void OutputFile::Write(std::span<const std::uint8_t> bytes) { handle_->result.Write(bytes); }

void OutputFile::Commit() { handle_->result.Name(); }

}  // namespace platform
