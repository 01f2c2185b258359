// Giving a file up, on every system: to its disk's wastebasket where one takes it
// (trash_*.cpp), else deleted for good.
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

Discarded Discard(std::u16string_view path, const std::optional<FileIdentity>& spared) {
    if (const std::optional<Discarded> done = detail::ToWastebasket(path, spared)) return *done;
    // Removed as RemoveFileUnless removes it, so that the spared file is still spared and a
    // failure shows the system's reason.
    if (!spared) {
        RemoveFile(path);
    } else if (!RemoveFileUnless(path, *spared)) {
        return Discarded::Spared;
    }
    return Discarded::DeletedForGood;
}

}  // namespace platform
