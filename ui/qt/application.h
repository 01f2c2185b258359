// The program with the Qt front-end: the application, the window over the model, and the
// event loop until the window closes.
#pragma once

#include <vector>

#include "window/controls.h"

namespace ui::qt {

// paths: files or folders named on the command line, opened as if dropped on the window.
// Returns the program's exit status.
int RunQtApplication(int argc, char* argv[], const std::vector<window::Text>& paths);

}  // namespace ui::qt
