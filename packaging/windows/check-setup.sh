#!/usr/bin/env bash
# Installs Kugelfon-<version>-Setup.exe silently in the Wine prefix WINEPREFIX,
# checks what it put where, plays the installed program on a 1024 x 768
# Xvfb screen through Qt's Windows platform (check-play.sh: five calls heard
# by a private PulseAudio, two tickets printed to a private cups-pdf queue,
# the quit question), measures its start-up (tools/windows-bench.sh),
# installs again into other folders and uninstalls silently, leaving nothing
# behind. While a Kugelfon runs, installing and uninstalling are refused
# with a non-zero status and change nothing.
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

# After the splash window's 1.5 s the main window fills the screen: its grey
# number field (212, 208, 200) lies under the screen's middle, and its
# status line at the top.
pixel() { import -window root "$work/now.png" && convert "$work/now.png" -format "%[pixel:p{$1}]" info:; }
main_window() { [ "$(pixel 400,400)" = "srgb(212,208,200)" ] && [ "$(pixel 400,400)" != "$(pixel 40,100)" ]; }

# What the installs make and the folders around them, with sizes and times,
# and the entry under the installed apps: "nothing changed" compares two.
made() {
    (cd "$drive" && find "Program Files/Kugelfon" A Vorher "ProgramData/Microsoft/Windows/Start Menu/Programs" \
        users/Public/Desktop -printf '%p %s %T@\n' 2>/dev/null | sort) || true
    "$wine" reg query "$key" 2>/dev/null | tr -d '\r' || true
}
# refused WHAT COMMAND...: COMMAND, run while a Kugelfon runs, ends with a
# non-zero status and changes nothing.
refused() {
    local what=$1 before status=0
    shift
    before=$(made)
    "$@" || status=$?
    [ $status -ne 0 ] || fail "$what endet mit Status 0, während Kugelfon läuft"
    [ "$(made)" = "$before" ] || fail "$what ändert etwas, während Kugelfon läuft: $(diff <(echo "$before") <(made))"
    echo "   $what verweigert (Status $status), nichts geändert"
}
# installed FOLDER: the install in FOLDER (C:\...) is whole, and the links
# and the entry under the installed apps lead to it.
installed() {
    local folder=$1 unix link
    unix=$drive/$(echo "${1#C:\\}" | tr '\\' /)
    for f in "$unix/Kugelfon.exe" "$unix/Deinstallieren.exe" "$menu/Kugelfon.lnk" "$menu/Kugelfon mit Saalanzeige.lnk"; do
        [ -f "$f" ] || fail "nach der Installation in $folder fehlt $f"
    done
    for link in "$menu/Kugelfon.lnk" "$menu/Kugelfon mit Saalanzeige.lnk"; do
        strings -a "$link" | grep -qiF "$folder\Kugelfon.exe" || fail "$link führt nicht nach $folder"
    done
    "$wine" reg query "$key" /v InstallLocation | tr -d '\r' | grep -qiF "REG_SZ    $folder" \
        || fail "der Deinstallationseintrag nennt nicht $folder"
}

echo "-- install while a Kugelfon from elsewhere runs"
"$wine" "$build/Kugelfon.exe" &
program=$!
until_ok 90 main_window || fail "das Hauptfenster des Kugelfon aus dem Build erscheint nicht"
refused "die Installation" "$wine" "$setup" /S
kill "$program"
wait "$program" || true
"$wineserver" -w

echo "-- silent install"
"$wine" "$setup" /S
"$wineserver" -w
installed 'C:\Program Files\Kugelfon'
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
until_ok 90 main_window || fail "das Hauptfenster erscheint nicht in der Anordnung für 1024 x 768"
import -window root "$work/main-window.png"
refused "die Deinstallation" "$wine" 'C:\Program Files\Kugelfon\Deinstallieren.exe' /S
refused "die Installation darüber" "$wine" "$setup" /S
play
print_two
quit

echo "-- Kugelfon mit Saalanzeige on the one screen: the hall behind the main window"
hall_behind

echo "-- start-up bench"
"$top/tools/windows-bench.sh" 'C:\Program Files\Kugelfon\Kugelfon.exe' "$build/emptywindow.exe"

echo "-- installs into other folders: the earlier install goes first"
# C:\Vorher was there before the install and stays.
mkdir "$drive/Vorher"
"$wine" "$setup" /S '/D=C:\Vorher\Kugelfon'
"$wineserver" -w
[ ! -e "$dir" ] || fail "nach der Installation in C:\\Vorher bleibt $dir: $(ls "$dir")"
installed 'C:\Vorher\Kugelfon'
"$wine" "$setup" /S '/D=C:\A\B\Kugelfon'
"$wineserver" -w
[ ! -e "$drive/Vorher/Kugelfon" ] || fail "nach der Installation in C:\\A\\B bleibt C:\\Vorher\\Kugelfon"
[ -d "$drive/Vorher" ] || fail "die Installation hat C:\\Vorher entfernt, das vorher da war"
installed 'C:\A\B\Kugelfon'

echo "-- silent uninstall"
"$wine" 'C:\A\B\Kugelfon\Deinstallieren.exe' /S
"$wineserver" -w
[ ! -e "$drive/A" ] || fail "nach der Deinstallation bleibt C:\\A: $(find "$drive/A")"
[ -d "$drive/Vorher" ] || fail "die Deinstallation hat C:\\Vorher entfernt, das vorher da war"
for f in "$menu/Kugelfon.lnk" "$menu/Kugelfon mit Saalanzeige.lnk"; do
    [ ! -e "$f" ] || fail "nach der Deinstallation bleibt $f"
done
! "$wine" reg query "$key" >/dev/null 2>&1 || fail "Deinstallationseintrag bleibt"
echo "-- installer: alles in Ordnung"
