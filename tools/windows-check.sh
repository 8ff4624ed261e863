#!/usr/bin/env bash
# The Windows part of ./check: cross-builds Kugelfon.exe, its test suites and
# Kugelfon-<version>-Setup.exe, runs the suites under Wine on Qt's offscreen
# platform, then installs, starts and uninstalls the installer silently.
# Everything runs in a fresh Wine prefix inside build-win. Where Wine cannot
# start, the Windows tests are reported as skipped, with the reason.
#
#   tools/windows-check.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build-win}
mkdir -p "$build"
build=$(cd "$build" && pwd)
export WINEPREFIX=$build/wine-prefix
. "$top/tools/deps.sh"
ensure_packages $KUGELFON_WINDOWS_PACKAGES

elapsed() { echo "$(( SECONDS - $1 )) s"; }
total=$SECONDS
trap 'echo "   Windows total: $(elapsed "$total")"' EXIT

# Without the Qt toolchain for Windows there is nothing to build: skipped,
# not failed (CI without the shared archive).
archive=${KUGELFON_QT_MINGW_ARCHIVE:-$top/../shared/toolchains/qt-6.4.2-mingw64-static.tar.xz}
if [ -z "${KUGELFON_QT_MINGW:-}" ] && [ ! -f "$build/qt-6.4.2-mingw64-static/lib/cmake/Qt6/qt.toolchain.cmake" ] \
    && [ ! -f "$archive" ]; then
    echo "== Windows ÜBERSPRUNGEN: Qt für Windows fehlt (weder KUGELFON_QT_MINGW noch $archive)"
    exit 0
fi

start=$SECONDS
echo "== Windows: Build (x86_64-w64-mingw32, static Qt)"
"$top/tools/windows-build.sh" "$build"
cmake --build "$build/kugelfon" --target setup
echo "   Build: $(elapsed "$start")"

start=$SECONDS
rm -rf "$WINEPREFIX"
if ! out=$("$top/tools/wine-run.sh" cmd /c echo bereit 2>&1) || [[ "$out" != *bereit* ]]; then
    echo "== Windows-Tests ÜBERSPRUNGEN: Wine startet hier nicht (${out:-keine Ausgabe})"
    exit 0
fi
echo "   Wine prefix: $(elapsed "$start")"

start=$SECONDS
echo "== Windows: Tests under Wine (offscreen)"
ctest --test-dir "$build/kugelfon" --output-on-failure -j "$(nproc)"
echo "   Tests: $(elapsed "$start")"

# Windows hands the program its arguments in the ANSI code page, where "ż"
# has no place; the program reads the Unicode command line instead.
out=$(LANG=C.UTF-8 "$top/tools/wine-run.sh" "$build/kugelfon/Kugelfon.exe" --żółw 2>&1 || true)
[[ "$out" == *"„--żółw“"* ]] || { echo "FEHLER: eine unbekannte Option wird verstümmelt genannt: $out" >&2; exit 1; }

# Typed in a console, as Windows users ask for it, "/?" and "--help" show
# the help whole, umlauts included, under the name typed there. The console
# is Wine's, on a pseudo terminal; its cursor codes and CRs are dropped.
help=$("$top/tools/wine-run.sh" "$build/kugelfon/Kugelfon.exe" --help)
[[ "$help" == "Aufruf: Kugelfon.exe [Optionen]"$'\n'* ]] || { echo "FEHLER: die Hilfe nennt Kugelfon.exe nicht: $help" >&2; exit 1; }
exe=$(realpath "$build/kugelfon/Kugelfon.exe")
exe="Z:${exe//\//\\}"
for arg in '/?' --help; do
    out=$({ LANG=C.UTF-8 script -qec "$(printf '%q ' "$top/tools/wine-run.sh" cmd /c "$exe" "$arg")" /dev/null || true; } \
          | sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' | tr -d '\r')
    [ "$out" = "$help" ] || { echo "FEHLER: „Kugelfon.exe $arg“ in der Konsole zeigt nicht die Hilfe: $out" >&2; exit 1; }
done

start=$SECONDS
echo "== Windows: Installer"
"$top/packaging/windows/check-setup.sh" "$build/kugelfon" "$build/setup-check"
echo "   Installer: $(elapsed "$start")"
