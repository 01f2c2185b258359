// Help: the whole instruction in one message box.
#include "window/form1.h"

namespace window {

// The box carries the application's name. Nothing in the window changes, so Help can be
// pressed at any stage, even after the run.
void Form1::Help_Click() {
    host_.ShowMessage(Text(kApplicationName),
                      u"Symmetrical file encryption / decryption.\r\n"
                      u"Identify source file, then either accept the suggested destination "
                      u"filename or enter a more suitable one.\r\n"
                      u"Enter password in both boxes and start the cryption process.");
}

}  // namespace window
