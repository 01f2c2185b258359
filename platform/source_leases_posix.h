// Whether a source is guarded by a read lease on Linux. Not part of platform.h: InputFile
// asks for one wherever it can, and tests do without, so that the checks a file system
// without leases relies on (size, time, the reads themselves) are run on the test machine's
// own file system too.
#pragma once

namespace platform::posix {

// For tests: sources opened while it lives are not leased.
class WithoutSourceLeases {
public:
    WithoutSourceLeases();
    ~WithoutSourceLeases();
    WithoutSourceLeases(const WithoutSourceLeases&) = delete;
    WithoutSourceLeases& operator=(const WithoutSourceLeases&) = delete;
};

}  // namespace platform::posix
