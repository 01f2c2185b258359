// A sample for check_includes_test.cmake: Windows is at home here, POSIX and Qt are not.
#include <windows.h>
#include <fcntl.h>
#include <QFile>
