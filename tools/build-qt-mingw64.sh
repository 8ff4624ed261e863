#!/usr/bin/env bash
# Builds Qt 6.4.2 (qtbase only: Core, Gui, Widgets, PrintSupport, Test and the
# Windows platform and print plugins) as static libraries for 64-bit Windows,
# with Debian 12's mingw-w64 (posix threads), from Debian's own qt6-base source
# package, so it is the same Qt version as the Linux build.
#
#   tools/build-qt-mingw64.sh WORKDIR PREFIX
#
# Then build Kugelfon for Windows with KUGELFON_QT_MINGW=PREFIX
# tools/windows-build.sh (see README).
#
# Needs: deb-src entries for Debian's archive (apt-get source), the host Qt
# tools (qt6-base-dev, qt6-base-dev-tools), cmake, ninja-build,
# g++-mingw-w64-x86-64-posix. Run as root on Debian 12. Takes about an hour on
# two cores. Tablet events are off: Debian's source package leaves out the
# Wintab header that the Windows platform plugin needs for them.
set -euo pipefail
work=${1:?work dir}
prefix=${2:?install prefix}
mkdir -p "$work" && cd "$work"

apt-get install -y -q g++-mingw-w64-x86-64-posix mingw-w64-tools cmake ninja-build qt6-base-dev qt6-base-dev-tools
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ ! -d qtbase-everywhere-src-6.4.2 ]; then
  apt-get source --download-only qt6-base
  tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz
  # Qt 6.4.2 does not compile its Windows platform plugin without OpenGL: one guard is missing.
  patch -p0 < "$here/qt-mingw64/qwindowswindow-without-opengl.patch"
fi

cat > mingw64.cmake <<'TC'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TC

cmake -S qtbase-everywhere-src-6.4.2 -B qtbuild -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/mingw64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=ON \
  -DFEATURE_tabletevent=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
cmake --build qtbuild --parallel "$(nproc)"
cmake --install qtbuild
cp mingw64.cmake "$prefix/"
# Let Qt's own toolchain file find the mingw one beside the install, wherever it is unpacked.
sed -i "s|set(__qt_initially_configured_toolchain_file \".*\")|set(__qt_initially_configured_toolchain_file \"\${CMAKE_CURRENT_LIST_DIR}/../../../mingw64.cmake\")|" \
  "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
