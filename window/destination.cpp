// Placeholder until its issue lands.
#include "window/form1.h"
namespace window {
void Form1::File1_DblClick() {}
void Form1::DestFile_Change() {}
void Form1::go_Click() {}
void Form1::Murder_Click() {}
}  // namespace window
