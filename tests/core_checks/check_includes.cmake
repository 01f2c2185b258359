# Fails when a file of the core includes what the core must not depend on, so that the layering
# holds by test and not only on paper:
#   - a front-end: a header of ui/, or of a window toolkit (Qt, GTK and GLib, wxWidgets, ...);
#   - an operating system's own interface outside that system's platform sources: POSIX
#     headers only in platform/*_posix.*, Win32 headers only in platform/*_windows.*;
#   - a layer above its own inside the core: the arrows go window -> {cipher, remembered} ->
#     platform, so cipher/ and remembered/ include nothing of window/ nor of each other, and
#     platform/ includes nothing of the other three.
# Usage: cmake -DROOT=<source tree> -P check_includes.cmake
if(NOT ROOT)
    message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P check_includes.cmake")
endif()

set(front_end "^((\\.\\./)*ui/|Q|q[a-z0-9_]*\\.h$|gtk|gdk|glib|gio/|gobject/|pango|cairo|wx/|FL/|X11/|xcb/|wayland-|SDL|Cocoa/|AppKit/)")
# Compared in lower case: Windows names its headers in any case.
set(win32 "^(windows|windowsx|win[a-z0-9]*|commctrl|commdlg|shellapi|shlobj|shlwapi|shobjidl|objbase|ole2|oleauto|[a-z]+api|io|direct|tchar|process)\\.h$")
set(posix "^(unistd|fcntl|dirent|pwd|grp|dlfcn|poll|pthread|termios|libgen|fnmatch|glob|mntent|syslog|strings|spawn|sched|semaphore|utime|wordexp|sys/.*|arpa/.*|netinet/.*|net/.*|linux/.*)\\.h$")

# What each folder of the core may not include of the others.
set(above_cipher "^(window|remembered)/")
set(above_remembered "^(window|cipher)/")
set(above_platform "^(window|cipher|remembered)/")

set(files "")
foreach(folder cipher platform remembered window)
    file(GLOB_RECURSE found RELATIVE ${ROOT}
         ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.hpp ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.cc)
    list(APPEND files ${found})
endforeach()
if(NOT files)
    message(FATAL_ERROR "no sources found under ${ROOT}")
endif()

set(faults "")
foreach(file IN LISTS files)
    set(posix_allowed FALSE)
    set(win32_allowed FALSE)
    if(file MATCHES "^platform/[^/]*_posix\\.[a-z]+$")
        set(posix_allowed TRUE)
    elseif(file MATCHES "^platform/[^/]*_windows\\.[a-z]+$")
        set(win32_allowed TRUE)
    endif()
    file(STRINGS ${ROOT}/${file} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
        if(NOT line MATCHES "include[ \t]*([<\"])([^>\"]+)[>\"]")
            continue()
        endif()
        set(header "${CMAKE_MATCH_2}")
        if(CMAKE_MATCH_1 STREQUAL "<")
            set(shown "<${header}>")
            set(quoted FALSE)
        else()
            set(shown "\"${header}\"")
            set(quoted TRUE)
        endif()
        string(TOLOWER "${header}" lower)
        string(REGEX REPLACE "/.*" "" folder "${file}")
        if(header MATCHES "${front_end}")
            list(APPEND faults "${file} includes ${shown}: a front-end's header")
        elseif(quoted AND DEFINED above_${folder} AND header MATCHES "${above_${folder}}")
            list(APPEND faults "${file} includes ${shown}: ${folder}/ may not depend on it")
        elseif(lower MATCHES "${win32}" AND NOT win32_allowed)
            list(APPEND faults "${file} includes ${shown}: Windows' own, for platform/*_windows.* only")
        elseif(header MATCHES "${posix}" AND NOT posix_allowed)
            list(APPEND faults "${file} includes ${shown}: POSIX's own, for platform/*_posix.* only")
        endif()
    endforeach()
endforeach()

list(LENGTH files checked)
list(LENGTH faults count)
if(count GREATER 0)
    list(JOIN faults "\n  " listed)
    message(FATAL_ERROR "${count} includes break the layering:\n  ${listed}")
endif()
message(STATUS "${checked} files of the core include no front-end, foreign system header or layer above their own")
