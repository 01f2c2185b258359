# Cross-builds the Windows program on Linux with mingw-w64 (the posix threads variant, which
# std::thread needs). The C and C++ run-times are linked in, so tessomar.exe needs no DLL
# beyond those of Windows itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSOMAR_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TESSOMAR_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSOMAR_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSOMAR_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TESSOMAR_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test binaries are run, and listed, under wine; scripts/wine-run keeps one wine prefix per
# build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
