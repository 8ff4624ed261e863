#!/usr/bin/env bash
# Start-up under Wine: the time from starting a Windows program until its
# window is visible on the X screen, for Kugelfon (its splash window, then
# its main window) against an empty Qt Widgets window built with the same
# toolchain, in the same Wine prefix and run; median of three each.
# Prints one line. Needs DISPLAY and WINEPREFIX; run by check-setup.sh.
#
#   windows-bench.sh KUGELFON_EXE EMPTYWINDOW_EXE
set -euo pipefail
wine="$(cd "$(dirname "$0")" && pwd)/wine-run.sh"
runs=3

now() { date +%s.%N; }
visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# start_up EXE TITLE...: prints the seconds until each window TITLE (an
# extended regular expression) is visible, in turn; then ends the program.
start_up() {
    local exe=$1 start program title times=()
    shift
    start=$(now)
    "$wine" "$exe" >/dev/null 2>&1 &
    program=$!
    for title in "$@"; do
        local end=$(( SECONDS + 60 ))
        until visible "$title"; do
            [ $SECONDS -lt $end ] || { kill "$program"; echo "Fenster $title erscheint nicht" >&2; exit 1; }
            sleep 0.02
        done
        times+=("$(awk -v a="$start" -v b="$(now)" 'BEGIN { print b - a }')")
    done
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    # The window must be gone before the next run looks for it.
    while visible "$1"; do sleep 0.05; done
    echo "${times[@]}"
}

median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }

splash=() main=() empty=()
for _ in $(seq $runs); do
    out=$(start_up "$1" '^Kugelfon$' '^Kugelfon 1\.1')
    read -r s m <<<"$out"
    splash+=("$s") main+=("$m")
    out=$(start_up "$2" '^Leeres Fenster$')
    empty+=("$out")
done
printf 'Start unter Wine (Median aus %d, bis das Fenster sichtbar ist): Kugelfon %.2f s bis zum Begrüßungsfenster, %.2f s bis zum Hauptfenster; leeres Qt-Fenster %.2f s\n' \
    "$runs" "$(median "${splash[@]}")" "$(median "${main[@]}")" "$(median "${empty[@]}")"
