// The system's reasons for failures on Linux: errno's numbers, in the C library's words.
#include <system_error>

#include "platform/platform.h"
#include "platform/system_parts.h"

namespace platform {

std::error_code detail::SystemReason(int number) {
    return std::error_code(number, std::generic_category());
}

// The C library's messages are in the locale's encoding, which on any current system is UTF-8.
std::u16string ReasonText(const std::error_code& reason) { return FromNative(reason.message()); }

}  // namespace platform
