// How a result file is created and named on Linux. Not part of platform.h: OutputFile uses
// it with every way allowed, and tests use it with some ways taken away, so that each
// fallback a file system may force is run on the test machine's own file system.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/descriptor_posix.h"

namespace platform::posix {

// ".tessomar-" and 16 random hexadecimal digits: hidden, so that a run in progress never
// shows in the file list, and short, so that a destination name near the length limit still
// leaves room for it.
std::string RandomTemporaryName();

// The ways a result is created and named, tried in this order; a way the file system lacks
// (or one taken away here) lets the next one be tried.
struct ResultWays {
    // Created without a name (O_TMPFILE), linked to its name when complete; nothing is
    // left if the program ends any other way.
    bool unnamedFile = true;
    // A hidden temporary, moved to its name by a rename that never replaces
    // (renameat2 with RENAME_NOREPLACE).
    bool noReplaceRename = true;
    // A hidden temporary, hard-linked to its name (a link never replaces) and then unlinked.
    bool hardLink = true;
    // With none of these (FAT on removable drives): the name is claimed by an exclusive
    // create, and the temporary is renamed over that empty claim, which is ours alone.

    // The hidden temporary's name, asked again while a name is taken; tests choose it.
    std::string (*temporaryName)() = RandomTemporaryName;
};

// One result in the making, in its destination's folder held open from the start.
class ResultFile {
public:
    // mode: the permission bits asked for; the umask applies. Throws FileError.
    ResultFile(std::u16string_view destination, mode_t mode, ResultWays ways);
    // Closes, and removes the file unless it was named.
    ~ResultFile();
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    void Write(std::span<const std::uint8_t> bytes);
    // Gives the file its name. Throws FileError (file_exists if the name was taken).
    void Name();
    // True while the file has no name at all (created with O_TMPFILE).
    bool Unnamed() const { return temporary_.empty(); }

private:
    void CreateNamedTemporary(mode_t mode);
    void NameUnnamed();
    void NameTemporary();

    std::u16string destination_;
    ResultWays ways_;
    OwnedDescriptor folder_;  // the destination's folder, held open
    std::string name_;        // the destination's name in it
    std::string temporary_;   // the hidden temporary's name in it; empty for an unnamed file
    OwnedDescriptor file_;
    bool named_ = false;
};

}  // namespace platform::posix
