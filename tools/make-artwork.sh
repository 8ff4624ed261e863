#!/bin/sh
# Rebuilds Kugelfon's pictures in resources/images/ and checks their format.
# Needs qt6-base-dev, cmake, fonts-liberation2 and ImageMagick; no display.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/resources/images"
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT

cmake -S "$root/tools/artwork" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" >/dev/null
# A private runtime dir keeps Qt from warning about a missing one.
XDG_RUNTIME_DIR="$build" QT_QPA_PLATFORM=offscreen "$build/kugelfon-artwork" "$out"

failed=0
fail() {
    echo "make-artwork: $1" >&2
    failed=1
}

# Expects width, height and channel layout ("srgb" = 8-bit RGB, no alpha).
check() {
    file=$out/$1
    want="$2 $3 8 $4"
    got=$(identify -format '%w %h %z %[channels]' "$file") || { fail "cannot read $1"; return; }
    [ "$got" = "$want" ] || fail "$1 is '$got', expected '$want'"
}

check splash-logo.png 133 305 srgb
check product.png 62 141 srgb
for size in 16 22 24 32 48 64 128 256; do
    check "icon-$size.png" "$size" "$size" srgba
done

# The splash window keys out pure cyan, so every corner must be exactly that.
for name in splash-logo.png product.png; do
    w=$(identify -format '%w' "$out/$name")
    h=$(identify -format '%h' "$out/$name")
    for xy in "0,0" "$((w - 1)),0" "0,$((h - 1))" "$((w - 1)),$((h - 1))"; do
        px=$(convert "$out/$name" -format "%[pixel:p{$xy}]" info:)
        [ "$px" = "srgb(0,255,255)" ] || fail "$name pixel $xy is $px, expected cyan"
    done
done

# Icons need a transparent margin, or the ball was cut off at the edge.
for size in 16 22 24 32 48 64 128 256; do
    a=$(convert "$out/icon-$size.png" -format '%[fx:p{0,0}.a]' info:)
    [ "$a" = "0" ] || fail "icon-$size.png corner is not transparent (alpha $a)"
done

[ "$failed" -eq 0 ] || exit 1
echo "make-artwork: wrote $(ls "$out" | wc -l) files to $out"
