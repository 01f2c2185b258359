// The folder and file lists' two listings, on every system; how a folder is read and which of
// its entries are visible is each system's (folder_listing_*.cpp).
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

std::vector<std::u16string> ListSubfolders(std::u16string_view folder) {
    return detail::ListVisible(folder, EntryKind::Folder);
}

std::vector<std::u16string> ListOrdinaryFiles(std::u16string_view folder) {
    return detail::ListVisible(folder, EntryKind::OrdinaryFile);
}

}  // namespace platform
