#include "tests/disks/plugged_disk.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace support {
namespace {

namespace fs = std::filesystem;

bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// What the command printed on its first line, or empty if it failed.
std::string FirstLineOf(const std::string& command) {
    FILE* output = popen((command + " 2>/dev/null").c_str(), "r");
    if (output == nullptr) return {};
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, output) != nullptr;
    if (pclose(output) != 0 || !read) return {};
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// A path for the shell, in single quotes (the scratch folders' names hold none).
std::string Quoted(const fs::path& path) {
    std::string quoted(1, '\'');
    quoted.append(path.string());
    quoted.push_back('\'');
    return quoted;
}

}  // namespace

PluggedDisk::PluggedDisk(Format format) : mountPoint_(scratch_ / "mount") {
    if (geteuid() != 0) {
        missing_ = "mounting a disk image needs root";
        return;
    }
    if (!fs::exists("/dev/fuse")) {
        missing_ = "no /dev/fuse on this machine";
        return;
    }
    const bool exfat = format == Format::Exfat;
    const char* tool = exfat ? "mount.exfat-fuse" : "fusefat";
    if (!Run(std::string("command -v ") + tool)) {
        missing_ = std::string(tool) + " is not installed (scripts/setup installs it)";
        return;
    }
    const fs::path image = scratch_ / "disk.img";
    fs::create_directory(mountPoint_);
    const std::string quotedImage = Quoted(image);
    const std::string quotedMount = Quoted(mountPoint_);
    if (!Run("truncate -s 64M " + quotedImage) ||
        !Run((exfat ? "mkfs.exfat " : "mkfs.vfat -F 32 ") + quotedImage)) {
        missing_ = "the disk image could not be formatted";
        return;
    }
    if (exfat) {
        // The exFAT daemon takes only a block device.
        loopDevice_ = FirstLineOf("losetup -f --show " + quotedImage);
        if (loopDevice_.empty()) {
            missing_ = "no loop device for the disk image";
            return;
        }
        if (!Run("mount.exfat-fuse " + loopDevice_ + " " + quotedMount)) {
            missing_ = "mount.exfat-fuse failed";
        }
    } else if (!Run("fusefat -o rw+ " + quotedImage + " " + quotedMount)) {
        missing_ = "fusefat failed";
    }
}

PluggedDisk::~PluggedDisk() {
    if (missing_.empty()) {
        // The daemon may still hold a file the test just closed for a moment.
        for (int attempt = 0; attempt < 50 && !Run("umount " + Quoted(mountPoint_)); ++attempt) {
            usleep(100000);
        }
    }
    if (!loopDevice_.empty()) Run("losetup -d " + loopDevice_);
}

}  // namespace support
