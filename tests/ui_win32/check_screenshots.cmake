# Fails unless each picture of the window in docs/screenshots/ is the size of the window's
# client area at the scale it was taken at (at 144 DPI 622.5 pixels wide, so 622 or 623):
#   cmake -DFOLDER=docs/screenshots -P check_screenshots.cmake
cmake_minimum_required(VERSION 3.22)
set(stages 1-browse 2-name 3-password 4-done)
set(pictures)
foreach(stage IN LISTS stages)
    list(APPEND pictures "win32-${stage}:415:288" "win32-144dpi-${stage}:623:432"
         "win32-dark-${stage}:415:288")
endforeach()
list(APPEND pictures "win32-192dpi-1-browse:830:576")

foreach(picture IN LISTS pictures)
    string(REPLACE ":" ";" fields "${picture}")
    list(GET fields 0 name)
    list(GET fields 1 width)
    list(GET fields 2 height)
    set(file "${FOLDER}/${name}.png")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "${file} is missing (scripts/screenshots-windows draws it)")
    endif()
    # The PNG header's first chunk holds the width and the height, 16 bytes in.
    file(READ "${file}" header OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING "${header}" 0 8 drawn_width)
    string(SUBSTRING "${header}" 8 8 drawn_height)
    math(EXPR drawn_width "0x${drawn_width}")
    math(EXPR drawn_height "0x${drawn_height}")
    math(EXPR narrower "${width} - 1")
    if(NOT drawn_height EQUAL height OR NOT (drawn_width EQUAL width OR
                                             (name MATCHES "144dpi" AND drawn_width EQUAL narrower)))
        message(FATAL_ERROR "${name}.png is ${drawn_width}x${drawn_height}, not ${width}x${height}")
    endif()
endforeach()
