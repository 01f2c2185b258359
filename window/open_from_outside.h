// Paths handed to the window from outside it: a file or folder named on the command line, or
// files dropped on the window. Each way in ends where the user's own browsing would, so the
// stages stay as they are: a file as after a double-click on it in its folder, a folder as
// after opening it in the folder list. Nothing is ever written.
#pragma once

#include <vector>

#include "window/form1.h"

namespace window {

// True in the Browse stage, the only one that takes paths from outside; a front-end shows a
// drop at any other time as refused.
bool TakesPathsFromOutside(const Form1& form);

// In the Browse stage: one file opens its folder in the lists and is double-clicked there
// (Name stage); one folder is opened in the lists. A path that is missing, cannot be read or
// is not an ordinary file the file list would show, and several paths at once, are refused
// with a notice that says why, and the lists stay as they were. Outside the Browse stage
// nothing changes. Paths are full paths.
void OpenFromOutside(Form1& form, const std::vector<Text>& paths);

}  // namespace window
