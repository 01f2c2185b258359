# Warning and sanitizer flags for each compiler the project builds with: GCC on Linux and, as
# the mingw-w64 cross-compiler, for Windows; Clang for fuzzing. TESSOMAR_WARNING_FLAGS is also
# what the Windows syntax check (tests/core_checks) compiles with.
set(TESSOMAR_WARNING_FLAGS "")
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR CMAKE_CXX_COMPILER_ID MATCHES "Clang$")
    set(TESSOMAR_WARNING_FLAGS -Wall -Wextra -Wpedantic)
    # -Werror is for CI and the test command only: a user's build must not stop on a warning
    # that a newer compiler adds.
    if(TESSOMAR_WERROR)
        list(APPEND TESSOMAR_WARNING_FLAGS -Werror)
    endif()
    if(TESSOMAR_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                            -fno-sanitize-recover=all)
        add_link_options(-fsanitize=address,undefined)
    endif()
else()
    message(WARNING "No warning flags are known for ${CMAKE_CXX_COMPILER_ID}; the project is "
                    "checked with GCC and Clang.")
    if(TESSOMAR_SANITIZE)
        message(FATAL_ERROR "TESSOMAR_SANITIZE needs GCC or Clang.")
    endif()
endif()
add_compile_options(${TESSOMAR_WARNING_FLAGS})
