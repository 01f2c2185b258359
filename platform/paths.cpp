// Paths taken apart and put together by their text alone, on every system: only the
// separators and the root differ (system_parts.h).
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string joined(folder);
    if (joined.empty() || !detail::IsSeparator(joined.back())) joined.push_back(Separator());
    joined.append(name);
    return joined;
}

std::vector<FolderStep> FolderChain(std::u16string_view folder) {
    const std::optional<detail::PathRoot> root = detail::RootOf(folder);
    if (!root) return {};
    std::vector<FolderStep> chain{{root->path, root->path}};
    std::size_t start = root->length;
    while (start < folder.size()) {
        std::size_t end = start;
        while (end < folder.size() && !detail::IsSeparator(folder[end])) ++end;
        const std::u16string_view name = folder.substr(start, end - start);
        start = end + 1;
        if (name.empty() || name == u".") continue;
        if (name == u"..") {
            if (chain.size() > 1) chain.pop_back();
            continue;
        }
        chain.push_back({JoinPath(chain.back().path, name), std::u16string(name)});
    }
    return chain;
}

bool VolumeHolds(std::u16string_view volumePath, std::u16string_view folder) {
    const std::vector<FolderStep> volume = FolderChain(volumePath);
    const std::vector<FolderStep> inside = FolderChain(folder);
    return !volume.empty() && volume.size() <= inside.size() &&
           SameName(inside[volume.size() - 1].path, volume.back().path);
}

}  // namespace platform
