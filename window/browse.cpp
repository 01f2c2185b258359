// Placeholder until its issue lands.
#include "window/form1.h"
namespace window {
void Form1::Form_Load() {}
void Form1::Drive1_Change() {}
void Form1::Dir1_Change() {}
void Form1::filemask_Change() {}
}  // namespace window
