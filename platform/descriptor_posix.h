// A file descriptor that closes itself, for the Linux sources of this folder.
#pragma once

#include <unistd.h>

#include <utility>

namespace platform::posix {

class OwnedDescriptor {
public:
    explicit OwnedDescriptor(int descriptor = -1) : descriptor_(descriptor) {}
    ~OwnedDescriptor() { Close(); }
    OwnedDescriptor(const OwnedDescriptor&) = delete;
    OwnedDescriptor& operator=(const OwnedDescriptor&) = delete;
    OwnedDescriptor& operator=(OwnedDescriptor&& other) noexcept {
        if (this != &other) {
            Close();
            descriptor_ = std::exchange(other.descriptor_, -1);
        }
        return *this;
    }

    bool Valid() const { return descriptor_ >= 0; }
    int Get() const { return descriptor_; }
    // Closes now, so that a failure to close (data not written) can be reported: 0, or -1 with
    // errno set. Closing nothing succeeds.
    int Close() {
        if (descriptor_ < 0) return 0;
        return ::close(std::exchange(descriptor_, -1));
    }

private:
    int descriptor_;
};

}  // namespace platform::posix
