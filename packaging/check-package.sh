#!/bin/sh
# Builds the Debian package from a build folder and checks its file list, its
# declared dependencies against the libraries the program really loads, and
# what lintian says about it.
# Usage: check-package.sh BUILD-DIR WORK-DIR VERSION
set -eu

build=$1
work=$2
version=$3
rm -rf "$work"
mkdir -p "$work"

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
fi
deb=$(ls "$work"/kugelfon_*.deb)

failed=0
fail() {
    echo "check-package: $1" >&2
    failed=1
}

[ "$(dpkg-deb -f "$deb" Package)" = kugelfon ] || fail "package name is not kugelfon"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is not $version"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "wrong architecture"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"

# Exactly the program, its menu entry, its metainfo, its icons, its manual
# page and the two files every Debian package documents itself with.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $1, $6}' | sed 's| \./| /|' | sort >"$work/files"
{
    echo "-rw-r--r-- /usr/share/applications/kugelfon.desktop"
    echo "-rw-r--r-- /usr/share/doc/kugelfon/changelog.gz"
    echo "-rw-r--r-- /usr/share/doc/kugelfon/copyright"
    echo "-rw-r--r-- /usr/share/man/man6/kugelfon.6.gz"
    echo "-rw-r--r-- /usr/share/man/de/man6/kugelfon.6.gz"
    for size in 16 22 24 32 48 64 128 256; do
        echo "-rw-r--r-- /usr/share/icons/hicolor/${size}x${size}/apps/kugelfon.png"
    done
    echo "-rw-r--r-- /usr/share/metainfo/org.example.kugelfon.metainfo.xml"
    echo "-rwxr-xr-x /usr/games/kugelfon"
} | sort >"$work/expected"
if ! diff -u "$work/expected" "$work/files" >&2; then
    fail "file list differs"
fi

# Declared dependencies, without their versions.
dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/(.*)//; s/[[:space:]]//g' | grep . | sort -u >"$work/depends"
while read -r name; do
    dpkg-query -W "$name" >/dev/null 2>&1 || fail "dependency $name is no known package"
done <"$work/depends"

# The packages of the libraries the program loads.
dpkg-deb -x "$deb" "$work/root"
exe="$work/root/usr/games/kugelfon"
: >"$work/needed"
for lib in $(objdump -p "$exe" | awk '/NEEDED/ {print $2}'); do
    path=$(ldd "$exe" | awk -v l="$lib" '$1 == l {print $3}')
    [ -n "$path" ] || { fail "$lib not found by ldd"; continue; }
    pkg=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(realpath "$path")" 2>/dev/null \
          || dpkg -S "/usr$path" 2>/dev/null || true)
    pkg=$(echo "$pkg" | head -n 1 | cut -d: -f1)
    [ -n "$pkg" ] || { fail "no package owns $path"; continue; }
    echo "$pkg" >>"$work/needed"
done
sort -u -o "$work/needed" "$work/needed"

while read -r pkg; do
    grep -qx "$pkg" "$work/depends" || fail "the program loads a library of $pkg, which is not declared"
done <"$work/needed"
# Needed beyond the linked libraries: fonts, German Qt texts, printing.
for pkg in fonts-liberation2 qt6-translations-l10n; do
    grep -qx "$pkg" "$work/depends" || fail "$pkg is not declared"
done
while read -r pkg; do
    case $pkg in
    fonts-liberation2 | qt6-translations-l10n | libqt6printsupport6) ;;
    *) grep -qx "$pkg" "$work/needed" || fail "$pkg is declared but nothing needs it" ;;
    esac
done <"$work/depends"

# Recommends brings what routes ALSA's default device to the sound server:
# a file in /etc/alsa/conf.d that sets pcm.!default, itself or in a file it
# loads. apt installs the first alternative when none is there, which must be
# PipeWire's route, and pulseaudio (installed here for the sound tests) must
# satisfy it, so that a PulseAudio desktop gets no second server.
recommends=$(dpkg-deb -f "$deb" Recommends | tr '|,' '\n' | sed 's/(.*)//; s/[[:space:]]//g' | grep . || true)
[ "$(echo "$recommends" | head -n 1)" = pipewire-alsa ] || fail "Recommends does not start with pipewire-alsa"
satisfied=0
for alt in $recommends; do
    dpkg-query -W -f='${Status}' "$alt" 2>/dev/null | grep -q "install ok installed" || continue
    for conf in $(dpkg -L "$alt" | grep '^/etc/alsa/conf\.d/.*\.conf$'); do
        conf=$(realpath "$conf")
        # shellcheck disable=SC2046 # the files it loads, one word each
        if cat "$conf" $(grep -o '"/[^"]*"' "$conf" | tr -d '"') 2>/dev/null | grep -q 'pcm\.!default'; then
            satisfied=1
            continue 2
        fi
    done
    fail "the recommended $alt does not route ALSA's default device"
done
[ "$satisfied" -eq 1 ] || fail "Recommends leaves a PulseAudio desktop without its route: $(echo "$recommends" | tr "\n" " ")"

# The newest changelog entry is the version being packaged.
top=$(gzip -dc "$work/root/usr/share/doc/kugelfon/changelog.gz" | sed -n '1s/^kugelfon (\([^)]*\)).*/\1/p')
[ "$top" = "$version" ] || fail "the changelog's newest entry is '$top', not $version"

# No errors and no warnings; info and pedantic tags are left to the maintainer.
if ! lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1; then
    cat "$work/lintian.log" >&2
    fail "lintian reports errors or warnings"
fi

[ "$failed" -eq 0 ] || exit 1
echo "check-package: $(basename "$deb") is fine"
