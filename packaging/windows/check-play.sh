# The installed Kugelfon.exe played, printing and quitting under Wine, as a
# user would, and the desktop it runs on: sourced by check-setup.sh and
# tools/windows-shots.sh, which have set WINEPREFIX, wine, wineserver and
# $work.
#
# A private PulseAudio with a null sink takes Wine's sound (winepulse, through
# PULSE_SERVER), a private cupsd with a cups-pdf queue its printers (Wine's
# winspool lists the CUPS queues it finds through CUPS_SERVER).

fail() { echo "FEHLER: $*" >&2; exit 1; }
# until_ok SECONDS COMMAND...: retries COMMAND until it succeeds, at most SECONDS.
until_ok() {
    local end=$(( SECONDS + $1 )); shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.5
    done
}

# start_desktop: a 1024 x 768 Xvfb screen with openbox, stopped on exit with
# everything else started into pids.
start_desktop() {
    # Wine's desktop process keeps the display it was started with: one
    # started without a screen would leave every later window invisible.
    "$wineserver" -k 2>/dev/null || true
    local display=:$(( 60 + RANDOM % 30 ))
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pids=($!)
    trap '"$wineserver" -k 2>/dev/null || true; kill "${pids[@]}" 2>/dev/null || true; rm -f "${pdf_conf:-}"' EXIT
    export DISPLAY=$display
    until_ok 20 xdpyinfo || fail "Xvfb startet nicht"
    # A window manager gives the keyboard to the window in front, as on a desktop.
    openbox >/dev/null 2>&1 &
    pids+=($!)
}

services=$work/services
# Where the queue's cups-pdf writes each job: this run's own folder.
pdf_dir=$services/pdf

# start_sound: the private sound server; its null sink "kugelfon".
start_sound() {
    mkdir -p "$services/pulse"
    XDG_RUNTIME_DIR=$services/pulse HOME=$services/pulse pulseaudio -n --daemonize=no --exit-idle-time=-1 \
        --load="module-null-sink sink_name=kugelfon" \
        --load="module-native-protocol-unix socket=$services/pulse/native" >"$services/pulse/log" 2>&1 &
    pids+=($!)
    export PULSE_SERVER=unix:$services/pulse/native
    until_ok 15 pactl list short sinks || { sound_skipped="PulseAudio startet nicht: $(tail -3 "$services/pulse/log")"; return; }
}

# start_printer: the private print server with the queue KugelfonPDF as its
# default; cups-pdf insists on running as root.
start_printer() {
    local root=$services/cups
    [ "$(id -u)" -eq 0 ] || { print_skipped="cups-pdf braucht root"; return; }
    mkdir -p "$root"/{spool/tmp,cache,state,ppd,log} && chmod 755 "$services" "$root"
    printf '%s\n' "Listen $root/cups.sock" "LogLevel warn" "Browsing Off" "DefaultAuthType None" "WebInterface No" \
        "<Location />" "Order allow,deny" "Allow all" "</Location>" \
        "<Policy default>" "<Limit All>" "Order deny,allow" "</Limit>" "</Policy>" >"$root/cupsd.conf"
    printf '%s\n' "ServerRoot $root" "RequestRoot $root/spool" "CacheDir $root/cache" "StateDir $root/state" \
        "TempDir $root/spool/tmp" "ServerBin /usr/lib/cups" "DataDir /usr/share/cups" \
        "ErrorLog $root/log/error_log" "AccessLog $root/log/access_log" "PageLog $root/log/page_log" \
        "User lp" "Group lp" "SystemGroup root" "FileDevice No" >"$root/cups-files.conf"
    # A random first job number tells this run's PDFs apart from older ones.
    first_job=$(( 100000 + RANDOM * 24 + RANDOM % 24 ))
    echo "NextJobId $first_job" >"$root/cache/job.cache"
    /usr/sbin/cupsd -f -c "$root/cupsd.conf" -s "$root/cups-files.conf" >"$root/log/out" 2>&1 &
    pids+=($!)
    export CUPS_SERVER=$root/cups.sock
    if ! until_ok 15 sh -c 'lpstat -r | grep -q "scheduler is running"'; then
        print_skipped="cupsd startet nicht: $(cat "$root/log/out" "$root/log/error_log" 2>/dev/null | tail -3)"
        return
    fi
    # cups-pdf reads a queue's own settings by the name in its address, from
    # /etc/cups only: without them it writes into its owner's home folder.
    mkdir -p "$pdf_dir" "$services/pdfspool"
    pdf_conf=/etc/cups/cups-pdf-kugelfon$first_job.conf
    printf '%s\n' "Out $pdf_dir" "AnonDirName $pdf_dir" "Spool $services/pdfspool" "Log $root/log" "Label 2" >"$pdf_conf"
    lpadmin -p KugelfonPDF -E -v "cups-pdf:/kugelfon$first_job" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null \
        && lpadmin -d KugelfonPDF || fail "die cups-pdf-Warteschlange lässt sich nicht anlegen"
}

# Pieces of the main window on the 1024 x 768 screen (openbox's title bar
# above): the number field and the count of numbers shown.
crop() { convert "$work/now.png" -crop "$1" +repage -depth 8 rgb:- | md5sum; }
field=815x504+48+139
number_field() { crop $field; }
count_label() { crop 44x28+626+47; }
step_button() { crop 268x32+349+703; }
# The share of dark pixels in the number field: the huge digits.
digits_share() { convert "$work/now.png" -crop $field -colorspace gray -threshold 50% -format '%[fx:1-mean]' info:; }

# A step has shown its number once field and count both differ from before
# and the field holds dark digits.
step_shown() {
    import -window root "$work/now.png" || return 1
    local n c
    n=$(number_field) c=$(count_label)
    [ "$n" != "$empty_field" ] && [ "$n" != "$last_field" ] && [ "$c" != "$last_count" ] || return 1
    awk -v s="$(digits_share)" 'BEGIN { exit !(s > 0.01) }' || return 1
    last_field=$n last_count=$c
}

# play: "Neues Spiel" (Ctrl+N), then five presses on "Weiter", each showing
# a number and advancing the count, while the sink's monitor is recorded.
play() {
    import -window root "$work/now.png"
    empty_field=$(number_field) last_field=$empty_field last_count=$(count_label)
    # "Weiter" is greyed out until the new game.
    local button
    button=$(step_button)
    xdotool key ctrl+n
    button_freed() { import -window root "$work/now.png" && [ "$(step_button)" != "$button" ]; }
    until_ok 10 button_freed || fail "„Neues Spiel“ gibt „Weiter“ nicht frei"
    local recorder=
    if [ -z "${sound_skipped:-}" ]; then
        parec -d kugelfon.monitor --latency-msec=20 --format=s16le --rate=22050 --channels=1 >"$work/calls.raw" &
        recorder=$!
        pids+=("$recorder")
    fi
    for step in 1 2 3 4 5; do
        xdotool mousemove 483 719 click 1
        until_ok 20 step_shown || fail "Schritt $step zeigt keine neue Zahl oder zählt nicht weiter"
    done
    cp "$work/now.png" "$work/game.png"
    [ -n "$recorder" ] || { echo "   Ton ÜBERSPRUNGEN: $sound_skipped"; return; }
    # The fifth call may still be playing: its stream closes when it is done.
    until_ok 10 sh -c '! pactl list short sink-inputs | grep -q .' || true
    kill "$recorder"; wait "$recorder" 2>/dev/null || true
    # Samples louder than about -30 dB: at least half a second of calls.
    local loud
    loud=$(od -An -td2 -v "$work/calls.raw" | awk '{ for (i = 1; i <= NF; i++) if ($i > 1000 || $i < -1000) n++ } END { print n + 0 }')
    [ "$loud" -ge 11025 ] || fail "die Ansagen kommen nicht bei PulseAudio an ($loud laute Samples)"
    echo "   Ansagen bei PulseAudio: $(awk -v n="$loud" 'BEGIN { printf "%.1f", n / 22050 }') s laut"
}

# The PDFs cups-pdf has written for this run's jobs, in the jobs' order.
run_pdfs() {
    local f id
    for f in "$pdf_dir"/*.pdf; do
        id=$(basename "$f" | sed -n 's/.*job_\([0-9]*\).*/\1/p')
        if [ -n "$id" ] && [ "$id" -ge "$first_job" ] && [ "$id" -lt $(( first_job + 100 )) ]; then echo "$id $f"; fi
    done | sort -n | cut -d' ' -f2-
}
two_pdfs() { [ "$(run_pdfs | wc -l)" -ge 2 ]; }

# print_two: "Spielschein drucken" (Ctrl+D), two tickets typed into their
# count, "Drucken" and "Ja"; two PDFs, one page each, each a different ticket.
print_two() {
    [ -z "${print_skipped:-}" ] || { echo "   Druck ÜBERSPRUNGEN: $print_skipped"; return; }
    xdotool key ctrl+d
    local dialog
    until_ok 20 xdotool search --onlyvisible --name '^Kugelfon 1\.1' || fail "das Druckfenster erscheint nicht"
    dialog=$(xdotool search --onlyvisible --name '^Kugelfon 1\.1' | head -1)
    # The tickets' count, at twips (5280 + 180, 2760 + 1080) / 15 in the dialog.
    xdotool mousemove --window "$dialog" 380 266 click 1 key ctrl+a type 2
    xdotool key Tab
    import -window root "$work/print-dialog.png"
    xdotool key alt+d
    until_ok 10 xdotool search --onlyvisible --name '^Spielscheinoptionen$' || fail "keine Rückfrage vor dem Druck"
    xdotool key Return
    # Two PDFs, and no third one after the queue has emptied.
    until_ok 30 two_pdfs || true
    until_ok 30 sh -c '[ -z "$(lpstat -o)" ]' || fail "die Druckaufträge bleiben hängen: $(lpstat -o)"
    sleep 2
    local pdfs=() f i=0
    mapfile -t pdfs < <(run_pdfs)
    [ ${#pdfs[@]} -eq 2 ] || fail "${#pdfs[@]} statt 2 PDFs gedruckt: ${pdfs[*]}"
    # Wine's PostScript driver draws the digits as outlines: no text to read,
    # so each page is looked at as a picture.
    for f in "${pdfs[@]}"; do
        i=$(( i + 1 ))
        pdfinfo "$f" | grep -q '^Pages: *1$' || fail "$f hat nicht genau eine Seite"
        pdfinfo "$f" | grep -q "^Title:.*Spielschein $i von 2\$" || fail "$f ist nicht Spielschein $i von 2"
        pdftoppm -r 30 -gray -singlefile "$f" "$work/ticket-$i"
        pdftoppm -r 50 -png -singlefile "$f" "$work/ticket-$i"
        awk -v m="$(convert "$work/ticket-$i.pgm" -format '%[fx:mean]' info:)" 'BEGIN { exit !(m < 0.999) }' \
            || fail "$f ist leer"
    done
    [ "$(compare -metric AE "$work/ticket-1.pgm" "$work/ticket-2.pgm" null: 2>&1)" != 0 ] \
        || fail "beide Spielscheine sind gleich"
    echo "   zwei Spielscheine gedruckt: $(basename -a "${pdfs[@]}" | tr '\n' ' ')"
    # "Abbrechen" closes the dialog and brings the main window back.
    xdotool key alt+b
    until_ok 10 sh -c '! xdotool search --onlyvisible --name "^Kugelfon 1\.1" | grep -qx "$1"' - "$dialog" \
        || fail "das Druckfenster schließt nicht"
}

# The program's process has gone (a zombie waiting for us counts as gone).
ended() { ! ps -o stat= -p "$program" | grep -qv Z; }

# The main window's caption, told apart from the hall's and the dialogs'.
main_title='^Kugelfon 1\.1 .*Kugelfon-Projekt$'

# quit: the main window's close box asks "Möchten Sie das Programm
# beenden?"; "Ja" ends the program by itself.
quit() {
    local main
    until_ok 10 xdotool search --onlyvisible --name "$main_title" || fail "das Hauptfenster kommt nicht zurück"
    main=$(xdotool search --onlyvisible --name "$main_title" | head -1)
    xdotool windowactivate --sync "$main" key alt+F4
    until_ok 10 xdotool search --onlyvisible --name '^Programm schliessen$' || fail "keine Frage beim Schließen"
    import -window root "$work/quit-question.png"
    xdotool key alt+j
    until_ok 20 ended || fail "das Programm endet nach „Ja“ nicht"
    wait "$program" || fail "das Programm endet mit Fehler $?"
}

# ---- hall display behind the main window ----------------------------------

# Each colour of the number field is a shade between its black digits and
# its grey (212, 208, 200); the hall's colours are all cooler.
field_own_colours() {
    convert "$work/now.png" -crop $field +repage -depth 8 -format %c histogram:info:- \
        | sed -n 's/^ *\([0-9]*\): *( *\([0-9]*\), *\([0-9]*\), *\([0-9]*\)).*/\1 \2 \3 \4/p' \
        | awk '{ t = $2 / 212; g = $3 - 208 * t; b = $4 - 200 * t; if (g * g > 16 || b * b > 16) n += $1 }
               END { exit n > 0 }'
}

# hall_uncovered WHEN: the hall is shown, the main window has the keyboard and
# its number field shows nothing of the hall, now and two seconds later.
hall_uncovered() {
    local main i
    for i in 1 2; do
        xdotool search --onlyvisible --name 'Saalanzeige$' >/dev/null || fail "die Saalanzeige ist nicht zu sehen ($1)"
        main=$(xdotool search --onlyvisible --name "$main_title" | head -1)
        [ "$(xdotool getactivewindow)" = "$main" ] \
            || fail "das Hauptfenster hat die Tastatur nicht ($1): $(xdotool getactivewindow getwindowname)"
        import -window root "$work/now.png"
        field_own_colours || { cp "$work/now.png" "$work/hall-covers.png"; fail "die Saalanzeige verdeckt das Zahlenfeld ($1)"; }
        [ "$i" = 2 ] || sleep 2
    done
}

# hall_behind: "Kugelfon mit Saalanzeige" (--fenster --saalanzeige) on the one
# 1024 x 768 screen, where the maximized main window leaves no room beside it:
# the hall stands behind the main window, before the first action and after
# a new game and a step.
hall_behind() {
    "$wine" 'C:\Program Files\Kugelfon\Kugelfon.exe' --fenster --saalanzeige &
    program=$!
    until_ok 90 xdotool search --onlyvisible --name 'Saalanzeige$' || fail "die Saalanzeige erscheint nicht"
    # The main window is painted once the field's corner, beside any hall, is grey.
    field_painted() { import -window root "$work/now.png" \
        && [ "$(convert "$work/now.png" -format '%[pixel:p{60,150}]' info:)" = "srgb(212,208,200)" ]; }
    until_ok 30 field_painted || fail "das Hauptfenster erscheint nicht neben der Saalanzeige"
    sleep 1
    hall_uncovered "vor der ersten Eingabe"
    cp "$work/now.png" "$work/hall-behind.png"
    local button
    button=$(step_button)
    xdotool key ctrl+n
    button_freed() { import -window root "$work/now.png" && [ "$(step_button)" != "$button" ]; }
    until_ok 10 button_freed || fail "„Neues Spiel“ gibt „Weiter“ nicht frei"
    xdotool mousemove 483 719 click 1
    digits() { import -window root "$work/now.png" && awk -v s="$(digits_share)" 'BEGIN { exit !(s > 0.01) }'; }
    until_ok 20 digits || fail "der Schritt zeigt keine Zahl"
    hall_uncovered "nach einem Schritt"
    cp "$work/now.png" "$work/hall-behind-step.png"
    quit
}
