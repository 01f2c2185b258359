// A sample for check_includes_test.cmake: the shared header showing POSIX types.
#pragma once
#include <sys/types.h>
