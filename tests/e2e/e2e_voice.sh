#!/usr/bin/env bash
# Following the reader's voice in a real X server: a short script read aloud by a speech
# synthesiser is heard through --voice-input while the main window plays; once the reading has
# ended and the script has come to rest, the last line spoken stands at the reading height (a
# third of the way down the script area), within one line.
set -u
PROGRAM_BINARY=$1
source "$(dirname "$0")/xsession.sh"
trap stop_all EXIT
command -v espeak-ng >/dev/null || { echo "espeak-ng missing: skipped"; exit 77; }
[ -d /usr/share/pocketsphinx/model/en-us/en-us ] || { echo "pocketsphinx-en-us missing: skipped"; exit 77; }

start_x
make_program_folder
printf '[Voice]\nFollow=true\n' >"$WORK/prog/Preferences.ini"
LINES=("Good evening and welcome." "Tonight we talk about" "the river and the bridge"
  "that crosses it near town." "The water is cold and deep." "Boats pass under it daily."
  "Thank you all for coming.")
printf '%s\n' "${LINES[@]}" >"$WORK/script.txt"
espeak-ng -v en-us -s 150 -w "$WORK/reading.wav" -f "$WORK/script.txt" || fail "espeak-ng made no audio"
script=$(printf '%s\r\n' "${LINES[@]}")
printf '100,10,27.75,480,"",0,0,"%s"\r\n' "${script%$'\r\n'}" >"$WORK/prog/Settings.ini"

"$WORK/prog/velloran" --voice-input "$WORK/reading.wav" >>"$WORK/program.log" 2>&1 &
LAST_PID=$!
APP_PIDS+=("$LAST_PID")
win=$(wait_window " Velloran") || fail "the main window did not appear"
click_at "$win" 300 40
xdotool key alt+p
heard_to_end() { grep -q "heard to its end" "$WORK/program.log"; }
wait_until 40 heard_to_end || fail "the reading was not heard to its end"
ended=$(date +%s.%N)

# The script band (twips 240..10215 across, 495..5280 down) as rows of the screen; a row with
# white pixels holds script text.
band() {
  eval "$(xdotool getwindowgeometry --shell "$win")"
  import -window root -crop "$(px 9975)x$(px 4785)+$((X + $(px 240)))+$((Y + $(px 495)))" -depth 8 txt:- 2>/dev/null |
    awk -F'[,:]' '/#FFFFFF/ { rows[$2] = 1 } END { for (r in rows) print r }' | sort -n
}
at_rest() {
  local now
  now=$(band | md5sum)
  [ "$now" = "${previous:-}" ] && return 0
  previous=$now
  sleep 0.3
  return 1
}
previous=""
wait_until 20 at_rest || fail "the script did not come to rest after the reading"
settled=$(date +%s.%N)
import -window root "$WORK/voice.png" 2>/dev/null
[ -n "${KEEP_WORK:-}" ] && cp "$WORK/voice.png" /tmp/e2e_voice.png

# The last script line is the lowest text in the band: its bottom against the reading height.
rows=$(band)
[ -n "$rows" ] || fail "no script text in the band"
bottom=$(echo "$rows" | tail -1)
reading=$(($(px 4785) / 3))
line=$(($(px 600)))
offset=$((bottom - reading))
echo "last line ends ${offset} px from the reading height (a line is about $line px), at rest" \
  "$(awk "BEGIN { printf \"%.1f\", $settled - $ended }") s after the reading ended (the screenshots that check it take part of that)"
[ "${offset#-}" -le "$line" ] || fail "the last line spoken ends $offset px from the reading height"

xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program"
position=$(record_field "$WORK/prog/Settings.ini" 4)
[ "$position" -lt 0 ] || fail "the script did not move with the reading (saved at $position)"
echo "e2e_voice: 1 passed, 0 failed"
