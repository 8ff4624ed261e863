# Layers that use Qt Core only (the game's rules, the audio files) link
# kugelfon_qtcore_only. Without Qt Gui and Qt Widgets on their link line,
# <QWidget> is not found; a header named through Qt's common include folder
# (<QtWidgets/QWidget>, <QtGui/QImage>) is, so the folder first in their
# include path stands in for the header every Gui and Widgets header
# includes first, and stops the compile with a clear message.
add_library(kugelfon_qtcore_only INTERFACE)
target_include_directories(kugelfon_qtcore_only BEFORE INTERFACE ${CMAKE_CURRENT_LIST_DIR}/coreonly)
target_link_libraries(kugelfon_qtcore_only INTERFACE Qt6::Core)

# kugelfon_layer(target [USES folder...]): the project folders whose headers
# the target's sources may include besides their own folder. An include of
# any other project folder stops the build, naming the file and the include,
# so that no include runs up the layers or across to a sibling window.
function(kugelfon_layer target)
    cmake_parse_arguments(L "" "" "USES" ${ARGN})
    get_target_property(sources ${target} SOURCES)
    get_target_property(dir ${target} SOURCE_DIR)
    set(files "")
    foreach(source IN LISTS sources)
        if(source MATCHES "\\.(h|cpp)$")
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir} OUTPUT_VARIABLE file)
            list(APPEND files ${file})
        endif()
    endforeach()
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.layer)
    set(script ${PROJECT_SOURCE_DIR}/cmake/checklayer.cmake)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} "-DFILES=${files}" "-DUSES=${L_USES}"
                -DSTAMP=${stamp} -P ${script}
        DEPENDS ${files} ${script}
        COMMENT "Includes of ${target}"
        VERBATIM)
    add_custom_target(${target}_layer DEPENDS ${stamp})
    add_dependencies(${target} ${target}_layer)
endfunction()
