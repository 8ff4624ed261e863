# The game's layer on Qt Core alone: of the probe sources (one include each,
# built as game/ is), the first (<QString>) builds and every other fails in
# the compiler, not somewhere else. The rules' test loads no Qt Gui library.
list(POP_FRONT TARGETS core_target)
list(POP_FRONT HEADERS core_header)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${core_target}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${core_header} does not build in the game's layer:\n${out}")
endif()
foreach(target header IN ZIP_LISTS TARGETS HEADERS)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    string(REGEX MATCH "[^\n]*(fatal error|error: #error)[^\n]*" error "${out}")
    if(result EQUAL 0 OR NOT error)
        message(FATAL_ERROR "${header} is not refused in the game's layer:\n${out}")
    endif()
    message(STATUS "${header}: ${error}")
endforeach()

if(READELF)
    execute_process(COMMAND ${READELF} -d ${CORE_TEST} OUTPUT_VARIABLE needed
                    COMMAND_ERROR_IS_FATAL ANY)
    if(needed MATCHES "libQt6(Gui|Widgets)")
        message(FATAL_ERROR "${CORE_TEST} loads a Qt GUI library:\n${needed}")
    endif()
endif()
