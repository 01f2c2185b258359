// The browsing pass through the Windows window: the Windows build's browsing program run
// under wine, which reports its own timings.
#pragma once

#include <string>

#include "browse_passes.h"

namespace bench {

BrowsePass BrowseWin32Window(const std::string& program, const BrowseFolder& folder);

}  // namespace bench
