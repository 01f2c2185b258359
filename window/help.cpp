// Placeholder until its issue lands.
#include "window/form1.h"
namespace window {
void Form1::Help_Click() {}
}  // namespace window
