#!/usr/bin/env bash
# The working state survives a session in the real window: nudge, play, pause, Escape, and the
# file that comes back; a second copy ends at once without touching the file; and numbers
# written bare in the text fields come back as their decimal text.
set -u
PROGRAM_BINARY=$1
source "$(dirname "$0")/xsession.sh"
trap stop_all EXIT

start_x
make_program_folder
SETTINGS="$WORK/prog/Settings.ini"
printf '100,10,27.75,480,"",2,5,"Hello, world\r\n\r\n  indented line"\r\n' >"$SETTINGS"

start_program
first=$LAST_PID
win=$(wait_window " Velloran") || fail "the main window did not appear"
# Focus the window by a click on the script area, then drive it by keys.
click_at "$win" 300 40

# A second copy beside the first ends at once and leaves the file alone.
before=$(md5sum <"$SETTINGS")
start_program
wait_exit "$LAST_PID" 5 || fail "a second copy kept running"
[ "$(md5sum <"$SETTINGS")" = "$before" ] || fail "the second copy touched Settings.ini"
kill -0 "$first" 2>/dev/null || fail "the first copy ended when the second started"

# Keys reach the window in the order they are sent, so none waits for the one before.
xdotool key alt+slash          # nudge up: 480 -> 280
xdotool key alt+p              # play
# Played until the recovery copy, which the program writes two seconds after the last key, shows
# the script gone below 200 and the clock on by a second: what a presenter sees on the screen.
RECOVERY="$WORK/prog/Settings.recovery"
played() { [ -f "$RECOVERY" ] && [ "$(record_field "$RECOVERY" 4)" -lt 200 ] && [ "$(record_field "$RECOVERY" 7)" -ge 6 ]; }
wait_until 20 played || fail "the script did not play: the recovery copy holds $(head -c 40 "$RECOVERY" 2>/dev/null)"
copied_seconds=$(record_field "$RECOVERY" 7)
copied_position=$(record_field "$RECOVERY" 4)
seen=$SECONDS
xdotool key alt+p              # pause
xdotool key Escape             # save and end
wait_exit "$first" 10 || fail "Escape did not end the program"

[ "$(record_field "$SETTINGS" 1)" = 100 ] || fail "speed changed"
[ "$(record_field "$SETTINGS" 2)" = 10 ] || fail "frequency changed"
[ "$(record_field "$SETTINGS" 3)" = 27.75 ] || fail "font size changed"
position=$(record_field "$SETTINGS" 4)
# Played on from the copy's place at no more than 10 twips every 100 ms, on the 10-twip grid.
[ "$position" -le "$copied_position" ] &&
  [ "$position" -ge $((copied_position - (SECONDS - seen + 3) * 100)) ] ||
  fail "position $position not scrolled as expected from $copied_position"
[ $(( (280 - position) % 10 )) -eq 0 ] || fail "position $position off the frequency grid"
[ "$(record_field "$SETTINGS" 6)" = 2 ] || fail "minutes changed"
seconds=$(record_field "$SETTINGS" 7)
# From the copy on, the clock counts no faster than the time that passed (on a loaded machine the
# pause comes later, so the bound is the time taken, not a fixed number).
[ "$seconds" -ge "$copied_seconds" ] && [ "$seconds" -le $((copied_seconds + SECONDS - seen + 3)) ] ||
  fail "clock did not count: seconds $seconds, $copied_seconds in the copy $((SECONDS - seen)) s before the end"
printf '"Hello, world\r\n\r\n  indented line"\r\n' >"$WORK/script.expected"
tail -c "$(stat -c %s "$WORK/script.expected")" "$SETTINGS" | cmp -s - "$WORK/script.expected" ||
  fail "script changed"

printf '100,10,27.75,480,0123,0,0,1.50\r\n' >"$SETTINGS"
start_program
win=$(wait_window " Velloran") || fail "the main window did not appear the second time"
click_at "$win" 300 40
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program the second time"
[ "$(record_field "$SETTINGS" 5)" = 123 ] || fail "backup path field 0123 came back as $(record_field "$SETTINGS" 5)"
[ "$(record_field "$SETTINGS" 8)" = 1.5 ] || fail "script field 1.50 came back as $(record_field "$SETTINGS" 8)"

echo "e2e_session: 1 passed, 0 failed"
