// The window walked the way its user walks it, through the calls its controls make: for the
// tests, the benchmark and the screenshot tools, which all take it to a run this way. Not part
// of the program itself.
#pragma once

#include "window/controls.h"
#include "window/form1.h"

namespace window {

// Browse -> Name: the file of this name double-clicked in the list. False, with nothing done,
// if the list does not show it.
bool PickFile(Form1& form, const Text& name);

// Browse -> Name -> Password: the file picked, the destination named (the proposed name if
// none is given) and OK clicked. False where the window stopped short of the Password stage.
bool WalkToPassword(Form1& form, const Text& source, const Text& destination = {});

}  // namespace window
