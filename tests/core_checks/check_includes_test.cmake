# The include check's own test: over a sample tree holding one of each kind of bad include
# beside includes that are fine, it must fail and name exactly the bad ones.
# Usage: cmake -DCHECK=<check_includes.cmake> -DSAMPLES=<sample tree> -P check_includes_test.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${SAMPLES} -P ${CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
set(expected
    "cipher/draws.cpp includes <QString>: a front-end's header"
    "cipher/draws.cpp includes <gtk/gtk.h>: a front-end's header"
    "window/asks_front_end.h includes \"ui/qt/main_window.h\": a front-end's header"
    "remembered/calls_systems.cpp includes <Windows.h>: Windows' own"
    "remembered/calls_systems.cpp includes <unistd.h>: POSIX's own"
    "platform/platform.h includes <sys/types.h>: POSIX's own"
    "platform/files_posix.cpp includes <windows.h>: Windows' own"
    "platform/files_windows.cpp includes <fcntl.h>: POSIX's own"
    "platform/files_windows.cpp includes <QFile>: a front-end's header"
    "cipher/asks_window.cpp includes \"remembered/remembered_folder.h\": cipher/ may not depend on it"
    "cipher/asks_window.cpp includes \"window/form1.h\": cipher/ may not depend on it"
    "platform/knows_cipher.h includes \"cipher/cipher.h\": platform/ may not depend on it"
    "remembered/asks_window.cpp includes \"window/host.h\": remembered/ may not depend on it"
)
set(missing "")
foreach(line IN LISTS expected)
    string(FIND "${output}" "${line}" at)
    if(at EQUAL -1)
        list(APPEND missing "${line}")
    endif()
endforeach()
list(LENGTH expected count)
string(FIND "${output}" " ${count} includes break the layering" counted)
if(result EQUAL 0 OR missing OR counted EQUAL -1)
    list(JOIN missing "\n  " missing)
    message(FATAL_ERROR "The include check gave exit status ${result} and this report:\n"
                        "${output}\nExpected ${count} faults; not reported:\n  ${missing}")
endif()
