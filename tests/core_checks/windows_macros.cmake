# Fails when a header of the core uses a name that <windows.h> defines as a macro, which would
# rename or break it in every Windows source that includes both. Names that are macros already
# before <windows.h> (errno, SIZE_MAX, ...) are the standard library's and pass.
# Usage: cmake -DCXX=<mingw g++> -DROOT=<source tree> -DHEADERS=<file listing headers below
#              ROOT, one a line> -DSTUB=<source file to write> -P windows_macros.cmake
file(STRINGS ${HEADERS} headers)
set(includes "")
set(before "")
set(after "")
set(seen "")
foreach(header IN LISTS headers)
    string(APPEND includes "#include \"${header}\"\n")
    file(READ ${ROOT}/${header} text)
    # Only code counts: comments, literals and include lines are dropped before the names are
    # collected.
    string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" " " text "${text}")
    string(REGEX REPLACE "//[^\n]*" " " text "${text}")
    string(REGEX REPLACE "\"([^\"\\\\\n]|\\\\.)*\"" " " text "${text}")
    string(REGEX REPLACE "'([^'\\\\\n]|\\\\.)*'" " " text "${text}")
    string(REGEX REPLACE "#[ \t]*include[^\n]*" " " text "${text}")
    string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*" names "${text}")
    list(REMOVE_DUPLICATES names)
    # C++ spells some operators as words, which the preprocessor refuses as macro names.
    list(REMOVE_ITEM names and and_eq bitand bitor compl not not_eq or or_eq xor xor_eq defined)
    list(REMOVE_ITEM names ${seen})
    list(APPEND seen ${names})
    foreach(name IN LISTS names)
        string(APPEND before "#ifndef ${name}\n#define TESSOMAR_NOT_A_MACRO_${name}\n#endif\n")
        string(APPEND after "#if defined(TESSOMAR_NOT_A_MACRO_${name}) && defined(${name})\n"
                            "#error \"${header} uses ${name}, a macro of <windows.h>\"\n#endif\n")
    endforeach()
endforeach()
file(WRITE ${STUB} "${includes}${before}#include <windows.h>\n${after}")

execute_process(COMMAND ${CXX} -std=c++20 -fsyntax-only -I${ROOT} ${STUB} RESULT_VARIABLE result)
list(LENGTH headers count)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Names that <windows.h> defines as macros are used in the core's "
                        "headers (see above); a Windows source including both would break.")
endif()
list(LENGTH seen names)
message(STATUS "None of the ${names} names in the core's ${count} headers is a macro of <windows.h>")
