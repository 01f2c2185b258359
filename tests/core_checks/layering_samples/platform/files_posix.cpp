// A sample for check_includes_test.cmake: POSIX is at home here, Windows is not.
#include <sys/stat.h>
#include <windows.h>
