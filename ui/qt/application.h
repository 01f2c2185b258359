// The program with the Qt front-end: the application, the window over the model, and the
// event loop until the window closes.
#pragma once

namespace ui::qt {

// Returns the program's exit status.
int RunQtApplication(int argc, char* argv[]);

}  // namespace ui::qt
