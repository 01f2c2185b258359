// Folder listing on Linux: a name that begins with a dot is hidden, and links are followed.
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

#include "platform/names_posix.h"
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

// Links to ordinary files are listed too: users keep links to their documents, and a source
// is only ever read. Links that lead nowhere, and entries that vanish or cannot be looked at
// while listing, are left out.
void detail::ListVisible(std::u16string_view folder, NameList* subfolders, NameList* files) {
    const std::string path = ToNative(folder);
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(path.c_str()), closedir);
    if (!directory) throw FileError(SystemReason(errno), u"Cannot list folder", folder);
    const int descriptor = dirfd(directory.get());
    std::u16string name;  // each name in turn, in one buffer
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(directory.get());
        if (entry == nullptr) {
            if (errno != 0) throw FileError(SystemReason(errno), u"Cannot list folder", folder);
            return;
        }
        if (entry->d_name[0] == '.') continue;  // hidden, and "." and ".."
        // The kind the folder records for an entry spares looking at it, which is most of a
        // big folder's listing time; a link (its target decides) and an entry of a file system
        // that records no kind are looked at.
        struct stat status {};
        if (entry->d_type == DT_REG) {
            status.st_mode = S_IFREG;
        } else if (entry->d_type == DT_DIR) {
            status.st_mode = S_IFDIR;
        } else if (fstatat(descriptor, entry->d_name, &status, 0) != 0) {
            continue;
        }
        NameList* const names = S_ISDIR(status.st_mode)   ? subfolders
                                : S_ISREG(status.st_mode) ? files
                                                          : nullptr;
        if (names != nullptr) {
            name.clear();
            AppendFromNative(entry->d_name, name);
            names->Add(name);
        }
    }
}

}  // namespace platform
