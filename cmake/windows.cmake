# Settings of the Windows build (x86_64-w64-mingw32 with the static Qt).

# One Kugelfon.exe that needs no DLL beside it: the mingw runtime goes in too.
add_link_options(-static -static-libgcc -static-libstdc++)
# The wide-character Windows API throughout; no min/max macros over std::.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
# The icon and version resource go through windres.
enable_language(RC)
# The installer carries the program without its symbols.
add_link_options($<$<CONFIG:Release>:-s>)
