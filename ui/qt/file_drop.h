// Files dropped on the window from a file manager, handed to the window's model, which
// decides what a drop means in each stage.
#pragma once

#include "window/form1.h"

namespace ui::qt {

class MainWindow;

// Lets the window take drops of local files anywhere on it, the boxes that take dropped text
// included; the model is asked whether it takes them now, and the cursor shows its answer.
void AcceptFileDrops(MainWindow& window, window::Form1& form);

}  // namespace ui::qt
