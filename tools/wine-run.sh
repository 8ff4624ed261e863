#!/usr/bin/env bash
# Runs a Windows program under wine64 in the Wine prefix of the Windows
# build (WINEPREFIX, by default wine-prefix beside the program's build
# folder), made fresh on first use. ctest uses it as the emulator.
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ]; then
    here=$(cd "$(dirname "$0")/.." && pwd)
    export WINEPREFIX=${KUGELFON_WINEPREFIX:-$here/build-win/wine-prefix}
fi
# Debian's wine64 keeps its programs out of PATH.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1
    "$wineserver" -w
fi
case "$(basename "$1")" in
test_*.exe) ;;
*) exec "$wine" "$@" ;;
esac
# Wine drops the QT_* variables of the Unix environment (ctest sets the
# platform and the scaling through them); a batch file sets them again on
# the Windows side.
# Qt's offscreen platform reads fonts from a folder; Debian's Wine brings
# none of its own, so the suites get the Liberation fonts the Linux build
# uses too.
export QT_QPA_FONTDIR=${QT_QPA_FONTDIR:-'Z:\usr\share\fonts\truetype\liberation2'}
bat=$(mktemp --suffix=.bat)
log=$(mktemp)
trap 'rm -f "$bat" "$log"' EXIT
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
{
    printf '@echo off\r\n'
    while IFS='=' read -r name value; do
        printf 'set "%s=%s"\r\n' "$name" "$value"
    done < <(env | grep '^QT_' || true)
    program=$1
    [ -f "$program" ] && program=$(winpath "$(realpath "$program")")
    line="\"$program\""
    # A Qt test's log does not reach stdout under Wine: it goes to a file.
    line+=" -o \"$(winpath "$log"),txt\""
    for arg in "${@:2}"; do line+=" \"$arg\""; done
    printf '%s\r\nexit /b %%errorlevel%%\r\n' "$line"
} > "$bat"
status=0
"$wine" cmd /c "$(winpath "$bat")" || status=$?
cat "$log"
exit $status
