#!/usr/bin/env bash
# Controls as a person uses them in the real window: Alt shortcuts pressed quickly and held
# down act on every press and repeat; the mouse wheel over a spinner clicks its arrows; the
# TextFinder's folder list shows the way from the drive's root and opens any folder on it; the
# exit button works while the Instant Help bar is hidden.
set -u
PROGRAM_BINARY=$1
source "$(dirname "$0")/xsession.sh"
trap stop_all EXIT

start_x
make_program_folder
SETTINGS="$WORK/prog/Settings.ini"
xset r rate 250 25  # the keyboard's auto-repeat: after 250 ms, 25 presses a second

start_and_focus() {
  start_program
  win=$(wait_window " Velloran") || fail "the main window did not appear"
  click_at "$win" 300 40
}
press_times() {
  local count=$1 key=$2 keys=()
  for _ in $(seq 1 "$count"); do keys+=("$key"); done
  xdotool key --delay 30 "${keys[@]}"
}

# Alt shortcuts, 30 ms apart and held down. The slowest speed keeps the ticks out of the way
# while Alt+P plays.
printf '2000,10,27.75,-3000,"",0,0,"Alt keys"\r\n' >"$SETTINGS"
start_and_focus
press_times 10 alt+slash
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program"
position=$(record_field "$SETTINGS" 4)
[ "$position" = -5000 ] || fail "ten quick Alt+/ presses nudged $(( (-3000 - position) / 200 )) times, not 10"

start_and_focus
press_times 4 alt+p
press_times 6 alt+backslash
start=$(date +%s%N)
xdotool keydown alt+slash
down=$(date +%s%N)
# Held for a second and a half, the length of the gesture itself (the count below comes from the
# time it was really held): about 1 + 1.25 * 25 = 32 presses at the keyboard's rate. On a loaded
# machine xdotool itself takes time to start, so the hold lies between the inner and outer spans.
sleep 1.5
up=$(date +%s%N)
xdotool keyup alt+slash
held_ms=$(( ($(date +%s%N) - start) / 1000000 ))
surely_held_ms=$(( (up - down) / 1000000 ))
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program"
nudges=$(( (-3800 - $(record_field "$SETTINGS" 4)) / 200 ))
expected=$(( 1 + (held_ms - 250) * 25 / 1000 ))
surely=$(( 1 + (surely_held_ms - 250) * 25 / 1000 ))
[ "$nudges" -ge $((surely * 8 / 10)) ] && [ "$nudges" -le $((expected + 2)) ] ||
  fail "Alt+/ held for $surely_held_ms to $held_ms ms nudged $nudges times; the keyboard sent $surely to $expected"
[ "$(record_field "$SETTINGS" 7)" = 0 ] || fail "four quick Alt+P presses left the scroller playing"

# The wheel over the spinners while playing: up (button 4) and left (6) click the lowering
# arrow, down (5) and right (7) the raising one; paused, the wheel does nothing.
printf '100,10,27.75,480,"",0,0,"Wheel"\r\n' >"$SETTINGS"
start_and_focus
speed_x=$(px $((2760 + 247)))
freq_x=$(px $((7680 + 247)))
spinner_y=$(px $((5280 + 360 + 247)))
xdotool key alt+p
click_at "$win" "$speed_x" "$spinner_y" 4
click_at "$win" "$speed_x" "$spinner_y" 4
click_at "$win" "$speed_x" "$spinner_y" 5
click_at "$win" "$freq_x" "$spinner_y" 5
click_at "$win" "$freq_x" "$spinner_y" 7
click_at "$win" "$freq_x" "$spinner_y" 6
click_at "$win" "$freq_x" "$spinner_y" 4
click_at "$win" "$freq_x" "$spinner_y" 4
click_at "$win" 300 40
xdotool key alt+p
click_at "$win" "$speed_x" "$spinner_y" 5
click_at "$win" "$freq_x" "$spinner_y" 5
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program"
[ "$(record_field "$SETTINGS" 1)" = 90 ] || fail "wheel on the speed spinner gave $(record_field "$SETTINGS" 1), not 90"
[ "$(record_field "$SETTINGS" 2)" = 8 ] || fail "wheel on the frequency spinner gave $(record_field "$SETTINGS" 2), not 8"

# TextFinder started in day1 under the home folder, which the drive list offers as a drive: the
# folder list reads home, talks, day1. A double-click on its first row opens home, whose one
# text file is then loaded; the exit button then saves and ends with the Instant Help bar hidden.
mkdir -p "$HOME/talks/day1"
printf 'From home' >"$HOME/note.txt"
printf 'From talks' >"$HOME/talks/keynote.txt"
printf '100,10,27.75,-2000,"",0,0,"TextFinder"\r\n' >"$SETTINGS"
cd "$HOME/talks/day1" || fail "no folder to start in"
start_program
cd - >/dev/null || fail "cannot go back"
win=$(wait_window " Velloran") || fail "the main window did not appear"
click_at "$win" "$(px $((8400 + 307)))" "$(px $((5280 + 240 + 307)))"   # cFile
eval "$(xdotool getwindowgeometry --shell "$win")"
row_x=$((X + $(px $((3480 + 240 + 900)))))
first_row_y=$((Y + $(px $((720 + 960))) + 9))
xdotool mousemove "$row_x" "$first_row_y" click --repeat 2 --delay 80 1
click_at "$win" "$(px $((3480 + 240 + 900)))" $(( $(px $((720 + 2280))) + 9 ))   # first file
click_at "$win" "$(px $((3480 + 960 + 907)))" "$(px $((720 + 3720 + 247)))"   # cOKay
click_at "$win" 300 "$(px $((5280 + 960 + 300)))"
xdotool click 1   # a double-click on the Instant Help bar hides it
height_is() { eval "$(xdotool getwindowgeometry --shell "$win")"; [ "$HEIGHT" = 441 ]; }
wait_until 5 height_is || fail "the Instant Help bar did not hide"
click_at "$win" "$(px $((10320 + 187)))" "$(px $((5280 + 960 + 187)))"   # centre of cX
wait_exit "$LAST_PID" 10 || fail "the exit button did not end the program while the bar was hidden"
[ "$(record_field "$SETTINGS" 8)" = "From home" ] ||
  fail "the folder list's first row did not open the home folder: loaded '$(record_field "$SETTINGS" 8)'"
[ "$(record_field "$SETTINGS" 4)" = 480 ] || fail "the loaded script is not at home"

echo "e2e_controls: 1 passed, 0 failed"
