# Layers that use Qt Core only (the game's rules, the audio files) link
# kugelfon_qtcore_only. Without Qt Gui and Qt Widgets on their link line,
# <QWidget> is not found; a header named through Qt's common include folder
# (<QtWidgets/QWidget>, <QtGui/QImage>) is, so the folder first in their
# include path stands in for the header every Gui and Widgets header
# includes first, and stops the compile with a clear message.
add_library(kugelfon_qtcore_only INTERFACE)
target_include_directories(kugelfon_qtcore_only BEFORE INTERFACE ${CMAKE_CURRENT_LIST_DIR}/coreonly)
target_link_libraries(kugelfon_qtcore_only INTERFACE Qt6::Core)
