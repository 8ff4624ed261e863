#!/usr/bin/env bash
# Builds both packages of a release into dist/: the Debian package
# kugelfon_<version>_amd64.deb and the Windows installer
# Kugelfon-<version>-Setup.exe (see README, "Packages").
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
. tools/deps.sh
ensure_packages $KUGELFON_BUILD_PACKAGES $KUGELFON_WINDOWS_PACKAGES
mkdir -p dist

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release
(cd build-release && cpack -G DEB >/dev/null)
cp build-release/kugelfon_*.deb dist/

tools/windows-build.sh "$top/build-win-release" -DBUILD_TESTING=OFF
cmake --build build-win-release/kugelfon --target setup
cp build-win-release/kugelfon/Kugelfon-*-Setup.exe dist/
ls -l dist
