// Reading Linux's mount table and device labels, kept apart from the system calls so that the
// rules for which mounts count as the user's volumes can be tested on made-up tables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::posix {

struct Mount {
    std::string path;        // the mount point, escapes undone
    std::string fileSystem;  // e.g. "ext4", "vfat", "proc"
    std::string source;      // e.g. "/dev/sdb1", escapes undone
};

// The mounts listed in the text of /proc/self/mountinfo, in its order. Lines that do not
// have the expected fields are skipped.
std::vector<Mount> ParseMountInfo(std::string_view text);

// True for file systems that hold no files of the user's: the kernel's views of itself,
// memory-backed scratch space, container layers and the like.
bool IsPseudoFileSystem(std::string_view fileSystem);

// True if the mount is a volume the drive list should offer besides the root.
bool IsUserVolume(const Mount& mount);

// A name under /dev/disk/by-label, where udev writes bytes it cannot put in a file name
// as \xHH; gives the label as the volume holds it.
std::string UnescapeLabel(std::string_view name);

}  // namespace platform::posix
