// A sample for check_includes_test.cmake: a core file that draws.
#include <QString>
#include <gtk/gtk.h>
#include <vector>
