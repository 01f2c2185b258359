#include "platform/result_file_posix.h"

#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform::posix {

using detail::SystemReason;

namespace {

// Errors by which a file system says it has no unnamed files (older kernels answer O_TMPFILE,
// which includes O_DIRECTORY, as an attempt to write to a folder).
bool NoUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

bool NoNoReplaceRename(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// FAT answers a hard link with EPERM.
bool NoHardLinks(int error) { return error == EPERM || error == EOPNOTSUPP || error == ENOSYS; }

// An unnamed file is linked to its name through its entry in /proc, which needs no
// privilege (linking the descriptor itself with AT_EMPTY_PATH may need one).
std::string ProcEntry(int descriptor) {
    char path[32];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", descriptor);
    return path;
}

bool ProcEntryReaches(int descriptor) {
    struct stat viaProc, direct;
    return ::stat(ProcEntry(descriptor).c_str(), &viaProc) == 0 &&
           ::fstat(descriptor, &direct) == 0 && viaProc.st_dev == direct.st_dev &&
           viaProc.st_ino == direct.st_ino;
}

// FAT's hidden attribute, so that a Windows machine hides the temporary as Linux does by its
// dot; a file system without it (every other, and FAT through FUSE) refuses the call.
void SetFatHidden(int descriptor, bool hidden) {
    __u32 attributes = 0;
    if (::ioctl(descriptor, FAT_IOCTL_GET_ATTRIBUTES, &attributes) != 0) return;
    attributes = hidden ? (attributes | ATTR_HIDDEN) : (attributes & ~__u32{ATTR_HIDDEN});
    ::ioctl(descriptor, FAT_IOCTL_SET_ATTRIBUTES, &attributes);
}

}  // namespace

std::string RandomTemporaryName() {
    std::random_device random;
    const auto number = (std::uint64_t{random()} << 32) | random();
    char name[32];
    std::snprintf(name, sizeof name, ".tessomar-%016llx", static_cast<unsigned long long>(number));
    return name;
}

ResultFile::ResultFile(std::u16string_view destination, mode_t mode, ResultWays ways)
    : destination_(destination), ways_(ways) {
    const std::string target = ToNative(destination);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : target.substr(0, slash);
    name_ = slash == std::string::npos ? target : target.substr(slash + 1);

    folder_ = OwnedDescriptor(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder_.Valid()) throw FileError(SystemReason(errno), u"Cannot create", destination_);
    if (ways_.unnamedFile) {
        file_ =
            OwnedDescriptor(::openat(folder_.Get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        if (file_.Valid() && ProcEntryReaches(file_.Get())) return;
        // Without /proc the file could not be named when complete: take the way that can.
        if (!file_.Valid() && !NoUnnamedFiles(errno))
            throw FileError(SystemReason(errno), u"Cannot create", destination_);
        file_.Close();
    }
    CreateNamedTemporary(mode);
}

ResultFile::~ResultFile() {
    file_.Close();
    if (!named_ && !temporary_.empty()) ::unlinkat(folder_.Get(), temporary_.c_str(), 0);
}

void ResultFile::CreateNamedTemporary(mode_t mode) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = ways_.temporaryName();
        file_ = OwnedDescriptor(::openat(folder_.Get(), candidate.c_str(),
                                         O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (file_.Valid()) {
            temporary_ = std::move(candidate);
            SetFatHidden(file_.Get(), true);
            return;
        }
        if (errno != EEXIST) throw FileError(SystemReason(errno), u"Cannot create", destination_);
    }
    throw FileError(SystemReason(EEXIST), u"Cannot create", destination_);
}

void ResultFile::Write(std::span<const std::uint8_t> bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = ::write(file_.Get(), bytes.data() + written, bytes.size() - written);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) throw FileError(SystemReason(errno), u"Cannot write", destination_);
        written += static_cast<std::size_t>(put);
    }
}

void ResultFile::Name() {
    // No fsync: it would add about a third to a run, and the source, never touched, is still
    // there if the machine fails before the system writes the new file out.
    if (temporary_.empty()) {
        NameUnnamed();
    } else {
        NameTemporary();
    }
    named_ = true;
}

void ResultFile::NameUnnamed() {
    struct stat mine;
    if (::fstat(file_.Get(), &mine) != 0)
        throw FileError(SystemReason(errno), u"Cannot write", destination_);
    // linkat never replaces an entry: a name taken meanwhile is reported, not overwritten.
    if (::linkat(AT_FDCWD, ProcEntry(file_.Get()).c_str(), folder_.Get(), name_.c_str(),
                 AT_SYMLINK_FOLLOW) != 0) {
        throw FileError(SystemReason(errno), u"Cannot create", destination_);
    }
    if (file_.Close() != 0) {
        // Some file systems report a failed write only at the close: take the name back, if
        // it still names this file.
        const int error = errno;
        struct stat named;
        if (::fstatat(folder_.Get(), name_.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == mine.st_dev && named.st_ino == mine.st_ino) {
            ::unlinkat(folder_.Get(), name_.c_str(), 0);
        }
        throw FileError(SystemReason(error), u"Cannot write", destination_);
    }
}

void ResultFile::NameTemporary() {
    // The result is an ordinary visible file under its name.
    SetFatHidden(file_.Get(), false);
    // Closed before it is named: some file systems report a failed write only at the close.
    if (file_.Close() != 0) throw FileError(SystemReason(errno), u"Cannot write", destination_);
    const int folder = folder_.Get();
    if (ways_.noReplaceRename) {
        if (::renameat2(folder, temporary_.c_str(), folder, name_.c_str(), RENAME_NOREPLACE) == 0) {
            return;
        }
        if (!NoNoReplaceRename(errno))
            throw FileError(SystemReason(errno), u"Cannot create", destination_);
    }
    if (ways_.hardLink) {
        if (::linkat(folder, temporary_.c_str(), folder, name_.c_str(), 0) == 0) {
            ::unlinkat(folder, temporary_.c_str(), 0);
            return;
        }
        if (!NoHardLinks(errno))
            throw FileError(SystemReason(errno), u"Cannot create", destination_);
    }
    const int claim =
        ::openat(folder, name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (claim < 0) throw FileError(SystemReason(errno), u"Cannot create", destination_);
    ::close(claim);
    if (::renameat(folder, temporary_.c_str(), folder, name_.c_str()) != 0) {
        const int error = errno;
        ::unlinkat(folder, name_.c_str(), 0);
        throw FileError(SystemReason(error), u"Cannot create", destination_);
    }
}

}  // namespace platform::posix
