#!/usr/bin/env bash
# Cross-builds Kugelfon for 64-bit Windows with mingw-w64 and the static Qt.
#
#   tools/windows-build.sh [BUILD_DIR] [extra cmake arguments...]
#
# The Qt toolchain is taken from KUGELFON_QT_MINGW (an unpacked
# qt-6.4.2-mingw64-static folder, e.g. made by tools/build-qt-mingw64.sh);
# without it, the archive KUGELFON_QT_MINGW_ARCHIVE (by default the shared
# copy beside the repository) is unpacked into BUILD_DIR once.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$top/build-win}" && cd "${1:-$top/build-win}" && pwd)
shift || true

qt=${KUGELFON_QT_MINGW:-}
if [ -z "$qt" ]; then
    archive=${KUGELFON_QT_MINGW_ARCHIVE:-$top/../shared/toolchains/qt-6.4.2-mingw64-static.tar.xz}
    qt=$build/qt-6.4.2-mingw64-static
    if [ ! -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
        [ -f "$archive" ] || { echo "Qt für Windows fehlt: weder KUGELFON_QT_MINGW noch $archive" >&2; exit 1; }
        tar xJf "$archive" -C "$build"
    fi
fi

cmake -S "$top" -B "$build/kugelfon" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DKUGELFON_WERROR=ON \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$top/tools/wine-run.sh" "$@" >/dev/null
cmake --build "$build/kugelfon" -j "${KUGELFON_JOBS:-$(nproc)}"
