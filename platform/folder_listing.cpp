// The folder and file lists' two listings, on every system; how a folder is read and which of
// its entries are visible is each system's (folder_listing_*.cpp).
#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {
namespace {

// In place of what the lists held; a folder that cannot be read leaves them empty.
void ListInto(std::u16string_view folder, NameList* subfolders, NameList* files) {
    const auto clear = [&] {
        if (subfolders != nullptr) subfolders->Clear();
        if (files != nullptr) files->Clear();
    };
    clear();
    try {
        detail::ListVisible(folder, subfolders, files);
    } catch (...) {
        clear();
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
    ListInto(folder, &names, nullptr);
}

void ListOrdinaryFiles(std::u16string_view folder, NameList& names) {
    ListInto(folder, nullptr, &names);
}

void ListFolder(std::u16string_view folder, NameList& subfolders, NameList& files) {
    ListInto(folder, &subfolders, &files);
}

}  // namespace platform
