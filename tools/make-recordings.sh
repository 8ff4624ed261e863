#!/bin/bash
# Renders the called numbers and "Bingo!" with SVOX Pico (German) into
# resources/recordings/<id>.wav:
#   10000 "Bingo!" female, 10001 = copy of 10002, 10001+n = number n (1..90)
#   20000 "Bingo!" male,   20001 = copy of 20002, 20001+n = number n
# Pico has one voice, a woman's. The male voice is Pico told to speak lower
# and then shifted down with sox, tempo kept: the shift lowers the formants
# by about the ratio of men's to women's (0.87), the lower pitch asked of Pico
# does the rest. sox alone down to a man's pitch (500 cents) would lower the
# formants by 0.75: the second formant of "vier" would fall to 1.6 kHz,
# where a man says "ü".
# Every file ends up a plain 44-byte-header WAVE, 22050 Hz mono 16-bit PCM.
# Needs pico2wave and sox. sox runs with -R (fixed dither seed) so that a
# rerun gives the same bytes and the committed files only change on purpose.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../resources/recordings}
mkdir -p "$out"
out=$(cd "$out" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! command -v pico2wave >/dev/null; then
    cat >&2 <<'EOF'
make-recordings: pico2wave is missing. It comes with Debian's package
libttspico-utils in the non-free section: add "contrib non-free" to the
Components of a Debian entry in /etc/apt/sources.list.d/, then run
    apt-get update && apt-get install libttspico-utils
EOF
    exit 1
fi
for tool in sox od; do
    command -v "$tool" >/dev/null || { echo "make-recordings: $tool is missing" >&2; exit 1; }
done

readonly rate=22050
readonly max_seconds=1.4
# Loudness every recording is pulled towards (RMS, dBFS) and the most a quiet
# one may be raised; the limiter does the rest so nothing clips.
readonly target_rms=-16
readonly max_boost=8

le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }

# Writes raw s16le mono samples as a canonical WAVE; sox's own writer is not
# trusted to leave out extra chunks.
write_wave() {
    local raw=$1 wav=$2 size
    size=$(stat -c %s "$raw")
    {
        printf 'RIFF'; le32 $((36 + size)); printf 'WAVEfmt '
        le32 16; le16 1; le16 1; le32 $rate; le32 $((rate * 2)); le16 2; le16 16
        printf 'data'; le32 "$size"
        cat "$raw"
    } > "$wav"
}

# A file sox cannot read gives an empty value, which the checks report.
stat_of() { { sox "$1" -n stats 2>&1 || true; } | awk -v key="$2" 'index($0, key) == 1 { print $NF }'; }

# render ID PICO_PITCH_LEVEL SHIFT_CENTS TEXT
render() {
    local id=$1 level=$2 cents=$3 text=$4
    local raw=$work/$id.pico.wav shaped=$work/$id.shaped.wav
    pico2wave -l de-DE -w "$raw" "<pitch level=\"$level\">$text</pitch>"
    local shift=()
    (( cents == 0 )) || shift=(pitch "$cents")
    # fade with an out-time fails after silence, so the fade-out is a fade-in
    # of the reversed sound.
    sox -R "$raw" -r $rate -c 1 -b 16 -e signed-integer "$shaped" "${shift[@]}" \
        silence 1 0.01 0.1% reverse silence 1 0.01 0.1% \
        fade t 0.01 reverse fade t 0.005 norm -1
    local rms gain
    rms=$(stat_of "$shaped" "RMS lev dB")
    gain=$(awk -v t=$target_rms -v r="$rms" -v m=$max_boost \
        'BEGIN { g = t - r; if (g > m) g = m; printf "%.2f", g + 1 }')
    # Limit while gaining towards 0 dBFS, then step back 1 dB for headroom.
    sox -R "$shaped" -t raw -r $rate -c 1 -b 16 -e signed-integer "$work/$id.raw" \
        gain -l "$gain" gain -1
    write_wave "$work/$id.raw" "$out/$id.wav"
}

rm -f "$out"/*.wav
for voice in female male; do
    # Pico's own pitch (median about 170 Hz); the male voice asks Pico for 0.8
    # of it and shifts 240 cents down: about 120 Hz.
    if [[ $voice == female ]]; then base=10000 level=100 cents=0; else base=20000 level=80 cents=-240; fi
    render $base $level $cents "Bingo!" &
    for n in $(seq 1 90); do
        # Pico reads the digits as the German number word.
        render $((base + 1 + n)) $level $cents "$n" &
        (( n % 16 == 0 )) && wait
    done
    wait
    cp "$out/$((base + 2)).wav" "$out/$((base + 1)).wav"
done

# Check every file: canonical header, sensible size, not too long, not silent.
fail=0
complain() { echo "make-recordings: $1: $2" >&2; fail=1; }
expected_ids=$( (echo 10000; seq 10001 10091; echo 20000; seq 20001 20091) | sort)
actual_ids=$(cd "$out" && ls -- *.wav | sed 's/\.wav$//' | sort)
[[ $expected_ids == "$actual_ids" ]] || complain "$out" "wrong set of files"
max_bytes=$(awk -v s=$max_seconds -v r=$rate 'BEGIN { printf "%d", s * r * 2 }')
for f in "$out"/*.wav; do
    size=$(stat -c %s "$f")
    header=$(od -A n -t x1 -N 44 -v "$f" | tr -d ' \n')
    data=$((size - 44))
    hex32() { printf '%02x%02x%02x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
    want="52494646$(hex32 $((size - 8)))57415645666d742010000000010001002256000044ac00000200100064617461$(hex32 $data)"
    [[ $header == "$want" ]] || complain "$f" "not a canonical 22050 Hz mono 16-bit WAVE header"
    (( data > 0 && data % 2 == 0 )) || complain "$f" "bad data size $data"
    (( data <= max_bytes )) || complain "$f" "longer than $max_seconds s ($data bytes)"
    peak=$(stat_of "$f" "Pk lev dB")
    awk -v p="$peak" 'BEGIN { exit !(p <= -0.9 && p > -20) }' || complain "$f" "peak $peak dBFS"
done
(( fail == 0 )) || { echo "make-recordings: FAILED" >&2; exit 1; }
echo "make-recordings: $(ls "$out"/*.wav | wc -l) recordings in $out"
