// A sample for check_includes_test.cmake: the remembered folder reaching up into the model.
#include "platform/platform.h"
#include "window/host.h"
