// One browsing pass as a user makes it, in a window of its own loaded from a folder's
// "LastPath": the load to a filled file list, a change of folder out to the parent and back
// in, then the mask "*.txt" typed one character at a time.
#pragma once

#include <vector>

#include "browse_folders.h"
#include "measure.h"

namespace bench {

struct BrowsePass {
    Timing load;
    Timing out;
    Timing into;
    std::vector<Timing> keystrokes;
};

// The control model alone, with no window over it.
BrowsePass BrowseModel(const BrowseFolder& folder);
// The Qt window, drawn (off screen) after each step.
BrowsePass BrowseQtWindow(const BrowseFolder& folder);

}  // namespace bench
