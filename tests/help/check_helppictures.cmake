# Runs the help picture tool into an empty folder and checks what it made:
# the eight pictures, 500 x 373, 8-bit RGB without alpha.
# -DTOOL=<path> -DOUT=<folder>
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${TOOL}" "${OUT}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "kugelfon-helppictures failed (${rc}): ${out}${err}")
endif()
if(err MATCHES "exceeds")
    message(FATAL_ERROR "a cut-out does not fit its picture: ${err}")
endif()
file(GLOB made RELATIVE "${OUT}" "${OUT}/*")
list(SORT made)
set(expected help-101.png help-102.png help-103.png help-104.png help-105.png
             help-107.png help-108.png help-109.png)
if(NOT made STREQUAL expected)
    message(FATAL_ERROR "made '${made}', expected '${expected}'")
endif()
foreach(name IN LISTS made)
    # IHDR: width and height (4 bytes each), bit depth, colour type 2 = RGB.
    file(READ "${OUT}/${name}" head LIMIT 26 HEX)
    string(SUBSTRING "${head}" 32 20 ihdr)
    if(NOT ihdr STREQUAL "000001f4000001750802")
        message(FATAL_ERROR "${name}: IHDR ${ihdr}, expected 500 x 373, 8-bit RGB")
    endif()
endforeach()
file(REMOVE_RECURSE "${OUT}")
