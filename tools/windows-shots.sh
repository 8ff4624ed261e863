#!/usr/bin/env bash
# Screenshots of the Windows build under Wine, to look at (not a test): the
# installer's pages, stepped through as a user would, the about window's
# "System-Info" message (Wine has no system information program), the
# uninstaller's question while Kugelfon runs and its pages.
#
#   windows-shots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build-win}" && pwd)
out=${2:-$build/shots}
mkdir -p "$out"
export WINEPREFIX=$build/shots-prefix
wine="$top/tools/wine-run.sh"
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/kugelfon/CMakeCache.txt")

work=$out
. "$top/packaging/windows/check-play.sh"
start_desktop
rm -rf "$WINEPREFIX"
"$wine" cmd /c echo >/dev/null
# The calls go to a private PulseAudio, as in the installer's check.
start_sound

# shot NAME: the whole screen, once the windows have settled.
shot() { sleep 2; import -window root "$out/$1.png"; }
window() { until xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do sleep 0.2; done; }

"$wine" "$build/kugelfon/Kugelfon-$version-Setup.exe" &
window "^Installation von Kugelfon $version"
shot setup-1-welcome;    xdotool key Return
shot setup-2-licence;    xdotool key Return
# The desktop shortcut is the second entry of the components list.
shot setup-3-components; xdotool key Down space
shot setup-3-components-desktop; xdotool key Return
shot setup-4-folder;     xdotool key Return
until xdotool search --onlyvisible --name "Kugelfon $version" | grep -q . && \
      [ -e "$WINEPREFIX/drive_c/Program Files/Kugelfon/Deinstallieren.exe" ]; do sleep 0.5; done
shot setup-5-finish
# Finish without starting the program ("Kugelfon jetzt starten" unticked).
xdotool key space Return
"$wineserver" -w

"$wine" 'C:\Program Files\Kugelfon\Kugelfon.exe' &
window '^Kugelfon 1\.1'
sleep 1
xdotool key ctrl+n
for _ in 1 2 3; do xdotool mousemove 483 719 click 1; sleep 2; done
shot main-window-game
# "?" then "Über ...", then "System-Info..." by its access key.
xdotool mousemove 143 30 click 1
sleep 1
xdotool key Down Down Return
window 'Information$'
shot about
xdotool key alt+s
shot about-system-info

# The uninstaller while Kugelfon runs: the question to close it, cancelled.
"$wine" 'C:\Program Files\Kugelfon\Deinstallieren.exe' &
window "^Deinstallation von Kugelfon"
shot uninstall-0-running
xdotool key Escape
wait $! || true
"$wineserver" -k
"$wine" 'C:\Program Files\Kugelfon\Deinstallieren.exe' &
window "^Deinstallation von Kugelfon"
shot uninstall-1-confirm; xdotool key Return
until [ ! -e "$WINEPREFIX/drive_c/Program Files/Kugelfon/Kugelfon.exe" ]; do sleep 0.5; done
shot uninstall-2-finish; xdotool key Return
"$wineserver" -w
ls "$out"
