#!/usr/bin/env bash
# Installs Kugelfon-<version>-Setup.exe silently in the Wine prefix WINEPREFIX,
# checks what it put where, plays the installed program on a 1024 x 768
# Xvfb screen through Qt's Windows platform (check-play.sh: five calls heard
# by a private PulseAudio, two tickets printed to a private cups-pdf queue,
# the quit question), measures its start-up (tools/windows-bench.sh) and
# uninstalls silently, leaving nothing behind.
#
#   check-setup.sh KUGELFON_BUILD_DIR WORK_DIR
# Screenshots of the run are left in WORK_DIR.
set -euo pipefail
build=$1
work=$2
top=$(cd "$(dirname "$0")/../.." && pwd)
wine="$top/tools/wine-run.sh"
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$build/Kugelfon-$version-Setup.exe
drive=$WINEPREFIX/drive_c
dir="$drive/Program Files/Kugelfon"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kugelfon'
rm -rf "$work" && mkdir -p "$work"

. "$top/packaging/windows/check-play.sh"
start_desktop

echo "-- silent install"
"$wine" "$setup" /S
"$wineserver" -w
for f in "$dir/Kugelfon.exe" "$dir/Deinstallieren.exe" "$menu/Kugelfon.lnk" "$menu/Kugelfon mit Saalanzeige.lnk"; do
    [ -f "$f" ] || fail "nach der Installation fehlt $f"
done
[ ! -e "$drive/users/Public/Desktop/Kugelfon.lnk" ] || fail "Desktop-Verknüpfung ohne Wahl angelegt"
cmp -s "$dir/Kugelfon.exe" "$build/Kugelfon.exe" || fail "installiertes Kugelfon.exe weicht ab"
"$wine" reg query "$key" /v DisplayVersion | tr -d '\r' | grep -q "REG_SZ[[:space:]]*$version\$" \
    || fail "Deinstallationseintrag ohne Version $version"
"$wine" reg query "$key" /v QuietUninstallString | grep -q 'Deinstallieren.exe" /S' \
    || fail "Deinstallationseintrag ohne stille Deinstallation"

echo "-- installed program on a 1024 x 768 screen: a game, two tickets, the quit question"
start_sound
start_printer
# Qt's Windows platform, not the offscreen one of the test suites.
"$wine" 'C:\Program Files\Kugelfon\Kugelfon.exe' &
program=$!
# After the splash window's 1.5 s the main window fills the screen: its grey
# number field (212, 208, 200) lies under the screen's middle, and its
# status line at the top.
pixel() { import -window root "$work/now.png" && convert "$work/now.png" -format "%[pixel:p{$1}]" info:; }
main_window() { [ "$(pixel 400,400)" = "srgb(212,208,200)" ] && [ "$(pixel 400,400)" != "$(pixel 40,100)" ]; }
until_ok 90 main_window || fail "das Hauptfenster erscheint nicht in der Anordnung für 1024 x 768"
import -window root "$work/main-window.png"
play
print_two
quit

echo "-- Kugelfon mit Saalanzeige on the one screen: the hall behind the main window"
hall_behind

echo "-- start-up bench"
"$top/tools/windows-bench.sh" 'C:\Program Files\Kugelfon\Kugelfon.exe' "$build/emptywindow.exe"

echo "-- silent uninstall"
"$wine" 'C:\Program Files\Kugelfon\Deinstallieren.exe' /S
"$wineserver" -w
[ ! -e "$dir" ] || fail "nach der Deinstallation bleibt $dir: $(ls "$dir")"
for f in "$menu/Kugelfon.lnk" "$menu/Kugelfon mit Saalanzeige.lnk"; do
    [ ! -e "$f" ] || fail "nach der Deinstallation bleibt $f"
done
! "$wine" reg query "$key" >/dev/null 2>&1 || fail "Deinstallationseintrag bleibt"
echo "-- installer: alles in Ordnung"
