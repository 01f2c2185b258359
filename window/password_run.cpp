// Placeholder until its issue lands.
#include "window/form1.h"
namespace window {
void Form1::Pwd_Change() {}
void Form1::Pwd2_Change() {}
void Form1::Start_Click() {}
}  // namespace window
