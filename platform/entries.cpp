// What is told of entries the same way on every system, from what each system tells of one.
#include "platform/platform.h"

namespace platform {

bool SameFile(std::u16string_view a, std::u16string_view b) {
    const std::optional<FileIdentity> first = IdentityOf(a);
    const std::optional<FileIdentity> second = IdentityOf(b);
    return first && second && *first == *second;
}

}  // namespace platform
