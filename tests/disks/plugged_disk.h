// A disk image formatted as the sticks and cards users plug in, mounted through FUSE as a
// Linux desktop mounts them, for the length of one test. Mounting needs root and /dev/fuse;
// where either is missing the disk says why, and the test skips.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/scratch_folder.h"

namespace support {

class PluggedDisk {
public:
    enum class Format { Exfat, Fat32 };
    explicit PluggedDisk(Format format);
    ~PluggedDisk();
    PluggedDisk(const PluggedDisk&) = delete;
    PluggedDisk& operator=(const PluggedDisk&) = delete;

    // Why the disk is not mounted; empty when it is.
    const std::string& Missing() const { return missing_; }
    // The disk's root folder.
    const std::filesystem::path& Root() const { return mountPoint_; }

private:
    ScratchFolder scratch_{"disk"};
    std::filesystem::path mountPoint_;
    std::string loopDevice_;
    std::string missing_;
};

// Skips the test, saying why, where the disk could not be mounted.
#define SKIP_WITHOUT(disk) \
    if (!(disk).Missing().empty()) GTEST_SKIP() << (disk).Missing()

}  // namespace support
