// What each system's sources define for the other sources of this folder: the pieces by which
// the logic written once for every system differs between them. Not part of platform.h.
#pragma once

#include <system_error>

namespace platform::detail {

// The reason for one of the system's error numbers (errno on Linux, GetLastError() on
// Windows), in the category that ReasonText words.
std::error_code SystemReason(int number);

}  // namespace platform::detail
