#!/usr/bin/env bash
# The timing aids in the real window: Alt+2 takes the reading height to the second section
# marker (the bar's position marker then stands on that marker's tick), and Alt+P first shows a
# count over the script, during which nothing moves, and then starts the scroll.
set -u
PROGRAM_BINARY=$1
source "$(dirname "$0")/xsession.sh"
trap stop_all EXIT

start_x
make_program_folder
SETTINGS="$WORK/prog/Settings.ini"
printf '[Play]\nCountdown=3\n[Display]\nTimeLeft=true\n[Script]\nMarkers=true\n' >"$WORK/prog/Preferences.ini"
# Four sections of sixty lines: far enough apart to be told apart on the bar.
script=$(python3 -c "print(''.join('# Section %d\r\n' % s + 'line\r\n' * 59 for s in range(1, 5)), end='')")
printf '100,10,27.75,480,"",0,0,"%s"\r\n' "$script" >"$SETTINGS"

# Rows of the bar (from its top) in the colour given, one per line, in the column given in twips:
# the ticks are seen in its rightmost column, which the position marker leaves free.
bar_rows() {
  local id=$1 colour=$2 column=$3
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "1x$(px 3975)+$((X + $(px "$column")))+$((Y + $(px 480)))" -depth 8 txt:- 2>/dev/null |
    grep "$colour" | sed 's/^0,\([0-9]*\):.*/\1/'
}
# Pixels of the count's colour where the count stands, over the script.
count_pixels() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "$(px 2400)x$(px 1800)+$((X + $(px 4027)))+$((Y + $(px 1190)))" -depth 8 txt:- \
    2>/dev/null | grep -c '#FFC800'
}
# The first marker stands at the top edge of the bar; the other three below it.
three_ticks() { [ "$(bar_rows "$win" '#00BEFF' 10665 | awk '$1 > 3' | wc -l)" -ge 3 ]; }
marker_on_second_tick() {
  local second marker
  second=$(bar_rows "$win" '#00BEFF' 10665 | awk '$1 > 3' | head -1)
  marker=$(bar_rows "$win" '#FFFFFF' 10560 | head -1)
  [ -n "$second" ] && [ -n "$marker" ] && [ $((marker - second)) -le 1 ] && [ $((second - marker)) -le 1 ]
}
# Like wait_until, but by the clock: each look takes a screenshot, which is not instant.
wait_for() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.1
  done
}
count_shown() { [ "$(count_pixels "$win")" -gt 50 ]; }
count_gone() { [ "$(count_pixels "$win")" -eq 0 ]; }

start_program
win=$(wait_window " Velloran") || fail "the main window did not appear"
click_at "$win" 300 40
wait_for 10 three_ticks || fail "the markers' ticks did not appear on the bar"
xdotool key alt+2
wait_for 10 marker_on_second_tick || fail "Alt+2 did not take the script to the second marker"
import -window root "$WORK/jump.png"
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program"
jumped=$(record_field "$SETTINGS" 4)
[ "${jumped%.*}" -lt -30000 ] || fail "the jump left the script at $jumped"

start_program
win=$(wait_window " Velloran") || fail "the main window did not appear"
click_at "$win" 300 40
xdotool key alt+p
wait_for 5 count_shown || fail "Alt+P showed no count over the script"
import -window root "$WORK/count.png"
wait_for 10 count_gone || fail "the count did not end"
# The scroll starts when the count ends: some ticks of 10 twips every 100 ms.
sleep 1
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program"
moved=$(record_field "$SETTINGS" 4)
awk -v a="$moved" -v b="$jumped" 'BEGIN { exit !(a < b - 50) }' ||
  fail "after the count the script did not scroll ($jumped to $moved)"
[ -n "${SHOTS:-}" ] && cp "$WORK/jump.png" "$WORK/count.png" "$SHOTS"/
echo "e2e_timing: passed"
