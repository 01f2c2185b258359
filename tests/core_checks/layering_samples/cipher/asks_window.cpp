// A sample for check_includes_test.cmake: the cipher reaching up into the window's model and
// across into the remembered folder.
#include "cipher/cipher.h"
#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "window/form1.h"
