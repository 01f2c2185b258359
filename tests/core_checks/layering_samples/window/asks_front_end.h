// A sample for check_includes_test.cmake: the model reaching up into a front-end.
#pragma once
#include "platform/platform.h"
#include "ui/qt/main_window.h"
