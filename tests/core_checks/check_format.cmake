# Fails when a C++ source of the project is not laid out as .clang-format says, naming each
# file and line that differs. Usage:
#   cmake -DROOT=<source tree> -DCLANG_FORMAT=<clang-format> -P check_format.cmake
if(NOT ROOT OR NOT CLANG_FORMAT)
    message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -DCLANG_FORMAT=<program> -P check_format.cmake")
endif()

set(files "")
foreach(folder app bench cipher platform remembered tests tools ui window)
    file(GLOB_RECURSE found ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
    list(APPEND files ${found})
endforeach()
# The layering check's samples hold faults on purpose, and are never built.
list(FILTER files EXCLUDE REGEX "/tests/core_checks/layering_samples/")
if(NOT files)
    message(FATAL_ERROR "no sources found under ${ROOT}")
endif()

execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror --style=file ${files}
                WORKING_DIRECTORY ${ROOT}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
list(LENGTH files checked)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Sources not laid out as .clang-format says (clang-format -i fixes them):\n${output}")
endif()
message(STATUS "${checked} sources are laid out as .clang-format says")
