// The hidden file a result is written to, beside it, until it is complete and takes the
// result's name.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/handles_windows.h"

namespace platform::windows {

// Who removes a temporary that never took its name.
enum class Removal {
    // The system, when the file's handle closes, however the program ends (killed, crashed):
    // it is marked for deletion from its creation until it takes its name.
    BySystem,
    // The program, by the file's name; a program ended by force leaves it behind. Taken where
    // the file system refuses the mark or the rename through the handle.
    ByName,
};

class Temporary {
public:
    // A new hidden file in destination's folder, removed as asked where the file system
    // allows it (InForce says how). Throws FileError naming destination.
    Temporary(std::u16string_view destination, Removal wanted);
    // Removes the file unless Commit gave it its name.
    ~Temporary();
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    HANDLE Get() const { return file_.Get(); }
    Removal InForce() const { return removal_; }
    // Shows the file and gives it the destination's name, never replacing anything there:
    // throws FileError (file_exists) if the name was taken meanwhile, and the file is dropped.
    void Commit();

private:
    void CommitThroughHandle();
    void CommitByName();
    // The file stays a temporary, to be removed: marked again, or else removed by name.
    void Drop();

    std::u16string destination_;
    std::u16string path_;  // the temporary's, as the system takes it
    OwnedHandle file_;
    Removal removal_;
    bool committed_ = false;
};

}  // namespace platform::windows
