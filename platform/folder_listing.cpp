// The folder and file lists' two listings, on every system; how a folder is read and which of
// its entries are visible is each system's (folder_listing_*.cpp).
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {
namespace {

void ListInto(std::u16string_view folder, EntryKind kind, NameList& names) {
    names.Clear();
    try {
        detail::ListVisible(folder, kind, names);
    } catch (...) {
        names.Clear();
        throw;
    }
}

}  // namespace

std::vector<std::u16string> NameList::Texts() const {
    std::vector<std::u16string> texts;
    texts.reserve(size());
    for (std::size_t k = 0; k < size(); ++k) texts.emplace_back((*this)[k]);
    return texts;
}

void NameList::Clear() {
    units_.clear();
    ends_.clear();
}

void NameList::Add(std::u16string_view name) {
    units_ += name;
    ends_.push_back(units_.size());
}

void ListSubfolders(std::u16string_view folder, NameList& names) {
    ListInto(folder, EntryKind::Folder, names);
}

void ListOrdinaryFiles(std::u16string_view folder, NameList& names) {
    ListInto(folder, EntryKind::OrdinaryFile, names);
}

}  // namespace platform
