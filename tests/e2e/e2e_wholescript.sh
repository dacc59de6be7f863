#!/usr/bin/env bash
# The whole-script option from Preferences.ini, in a real X server: a 1000-line script is taken
# to its end by the navigation bar in both windows, and read to its last line by playing, which
# wraps only where that line has left the band, far beyond the classic limit.
set -u
PROGRAM_BINARY=$1
source "$(dirname "$0")/xsession.sh"
trap stop_all EXIT

start_x
make_program_folder
SETTINGS="$WORK/prog/Settings.ini"
printf '[Script]\nWholeScriptReachable=true\n' >"$WORK/prog/Preferences.ini"
SCRIPT=$(python3 -c "print('\r\n'.join('Line %d of a long speech' % i for i in range(1, 1001)))")
record() { printf '%s,%s,27.75,%s,"",0,0,"%s"\r\n' "$1" "$2" "$3" "$SCRIPT" >"$SETTINGS"; }

# Yellow pixels (the warning colour) in a window-relative rectangle: id x y width height.
yellow_pixels() {
  local id=$1
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "$4x$5+$((X + $2))+$((Y + $3))" -depth 8 txt:- 2>/dev/null | grep -c '#FFFF00'
}
band_is_yellow() { [ "$(yellow_pixels "$win" "$(px 240)" "$(px 495)" "$(px 9975)" "$(px 4785)")" -gt 20 ]; }
band_is_not_yellow() { [ "$(yellow_pixels "$win" "$(px 240)" "$(px 495)" "$(px 9975)" "$(px 4785)")" -eq 0 ]; }

# Left button pressed on a bar a few pixels below the given row, then moved up to it, one
# pixel at a time, each move its own request so none is merged away: the script's end.
drag_bar_to_top() {
  local x=$1 y=$2
  xdotool mousemove "$x" $((y + 3))
  xdotool mousedown 1
  for step in 2 1 0; do xdotool mousemove "$x" $((y + step)); done
  xdotool mouseup 1
}

start_and_focus() {
  start_program
  win=$(wait_window " Velloran") || fail "the main window did not appear"
  click_at "$win" 300 40
}

# The main window's bar, near its top (the strip above the band covers its first pixels): near
# the script's end.
record 2000 10 480
start_and_focus
eval "$(xdotool getwindowgeometry --shell "$win")"
drag_bar_to_top $((X + $(px 10440) + 8)) $((Y + $(px 495) + 1))
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program"
end=$(record_field "$SETTINGS" 4)
# 1000 lines of about 480 twips: far beyond -240000, and not where the classic bar puts it.
[ "$end" -lt -400000 ] && [ "$end" -gt -800000 ] && [ "$end" != -500000 ] ||
  fail "the top of the bar put the script at $end, not at its end"

# Played from 15000 twips before that end at 5000 twips a second: the last lines turn yellow
# (classic, the first tick would have wrapped home at once), then the script wraps and is white.
record 10 50 $((end + 15000))
start_and_focus
xdotool key alt+p
wait_until 20 band_is_yellow || fail "playing never reached the last lines"
import -window root "$WORK/last_lines.png" 2>/dev/null
wait_until 20 band_is_not_yellow || fail "the script did not wrap after its last line"
xdotool key alt+p
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program"
after=$(record_field "$SETTINGS" 4)
[ "$after" -le 480 ] && [ "$after" -gt -100000 ] || fail "after the wrap the script stood at $after"

# The full-screen window's bar, top to the end, then ten nudges down: only the last lines show,
# yellow, at the top of the screen; the rest of the screen is empty.
record 2000 10 480
start_and_focus
click_at "$win" "$(px $((10080 + 307)))" "$(px $((5280 + 240 + 307)))"   # cFull
full_up() { xdotool search --onlyvisible --pid "$LAST_PID" 2>/dev/null | while read -r id; do
  eval "$(xdotool getwindowgeometry --shell "$id")"; [ "$WIDTH,$HEIGHT" = "1280,1024" ] && echo "$id"; done | head -1 | grep -q .; }
wait_until 10 full_up || fail "the full-screen window did not appear"
full=$(xdotool search --onlyvisible --pid "$LAST_PID" | while read -r id; do
  eval "$(xdotool getwindowgeometry --shell "$id")"; [ "$WIDTH,$HEIGHT" = "1280,1024" ] && echo "$id"; done | head -1)
drag_bar_to_top $(px $((19200 - 375 + 127))) $(px 120)
for _ in $(seq 1 10); do xdotool key alt+backslash; done
top_is_yellow() { [ "$(yellow_pixels "$full" 0 0 1200 "$(px 2000)")" -gt 20 ]; }
wait_until 10 top_is_yellow || fail "the full-screen window does not show the last lines at the top"
import -window root "$WORK/full_last_lines.png" 2>/dev/null
[ "$(yellow_pixels "$full" 0 "$(px 4000)" 1200 "$(px 6000)")" -eq 0 ] ||
  fail "below the last lines the full-screen window still shows script"
[ -n "${KEEP_WORK:-}" ] && cp "$WORK"/*.png /tmp/ 2>/dev/null
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape in full screen did not end the program"

echo "e2e_wholescript: 1 passed, 0 failed"
