// A sample for check_includes_test.cmake: a core file calling the systems directly.
# include <Windows.h>
#include <unistd.h>
