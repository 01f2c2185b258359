// Conversions of the texts the window compares and shows.
#pragma once

#include <exception>
#include <system_error>

#include "platform/platform.h"
#include "window/controls.h"

namespace window {

// Upper case for comparing file names without regard to letter case.
using platform::UpperCase;

// The proposed destination name: "_XXX" before the first dot, or at the end without one.
Text SuggestedDestinationName(const Text& sourceName);

// The operating system's reason for a failure, in words the window can show.
Text ReasonText(const std::system_error& error);

// The status line after a run that failed with this error, having written nothing.
Text RunFailedStatus(const std::system_error& error);

// The whole of a failure for the user: what was being done, to which file, and why.
Text ErrorText(const std::exception& error);

}  // namespace window
