#!/usr/bin/env bash
# The main window under a real window manager: it moves when dragged by its move areas with the
# left button and not with the right; double-clicks on the Instant Help bar, the bottom edge, the
# controls' background and a statistics caption still reach it; a right click on the exit button
# pauses and minimises, and the window comes back as it was; the window manager's close saves
# once; and the full-screen window covers the window manager's panel, also after it has been
# minimised and brought back.
set -u
PROGRAM_BINARY=$1
source "$(dirname "$0")/xsession.sh"
trap stop_all EXIT

start_x
make_program_folder
SETTINGS="$WORK/prog/Settings.ini"
printf '100,10,27.75,480,"",0,0,"Short script"\r\n' >"$SETTINGS"

# Window-relative places (pixels) in the 729 x 465 window.
exit_x=$(px $((10320 + 187)))
exit_y=$(px $((5280 + 960 + 187)))
declare -A AREA=(
  [margin]="5 $(px 2000)"
  [controls]="5 $(px $((5280 + 1200)))"
  [top_edge]="300 $(px 120)"
  [bottom_edge]="300 $(px $((5280 + 1440 + 127)))"
  [help_bar]="300 $(px $((5280 + 960 + 300)))"
)

geometry() { xdotool getwindowgeometry --shell "$1"; }
height_is() { eval "$(geometry "$1")"; [ "$HEIGHT" = "$2" ]; }
# The window stands within 12 pixels of x (the distance that starts a move) and at y.
position_near() {
  eval "$(geometry "$1")"
  local off=$((X - $2))
  [ "${off#-}" -le 12 ] && [ "$Y" = "$3" ]
}
moving() { xdotool search --onlyvisible --name '^IceStatus$' >/dev/null 2>&1; }
not_moving() { ! moving; }
window_state() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q "window state: $2"; }

# Drags from a window-relative point by (dx, dy) with the button held. The first step carries
# the press past the drag distance; the window manager shows its move status once it has taken
# the move over, and only then does the pointer go on to the end.
drag() {
  local id=$1 x=$2 y=$3 dx=$4 dy=$5 button=$6
  eval "$(geometry "$id")"
  xdotool mousemove $((X + x)) $((Y + y)) mousedown "$button" mousemove $((X + x + 12)) $((Y + y))
  if [ "$button" = 1 ]; then
    wait_until 5 moving || fail "no window move started from ($x, $y)"
  fi
  xdotool mousemove $((X + x + dx)) $((Y + y + dy)) mouseup "$button"
  wait_until 5 not_moving || fail "the window move from ($x, $y) with button $button did not end"
}

start_program
pid=$LAST_PID
win=$(wait_window " Velloran") || fail "the main window did not appear"

# Each area: a right-button drag leaves the window where it is, a left one moves it with the
# pointer from where the move started (the first 12 pixels only start it, so the window lags
# the pointer by them).
sign=1
for area in margin controls top_edge bottom_edge help_bar; do
  read -r ax ay <<<"${AREA[$area]}"
  eval "$(geometry "$win")"
  x0=$X y0=$Y
  drag "$win" "$ax" "$ay" $((sign * 60)) $((sign * 40)) 3
  drag "$win" "$ax" "$ay" $((sign * 60 + 12)) $((sign * 40)) 1
  wait_until 5 position_near "$win" $((x0 + sign * 60)) $((y0 + sign * 40)) ||
    fail "$area: the window went from $x0,$y0 to $(geometry "$win" | tr '\n' ' ') instead of by $((sign * 60)),$((sign * 40))"
  sign=$((-sign))
done

# Double-clicks: the bar (a two-pixel tremor in the first click must not start a move), then the
# bottom edge in the bar's place, then the controls' background twice.
double_click() {
  local id=$1 x=$2 y=$3 tremor=${4:-0}
  eval "$(geometry "$id")"
  xdotool mousemove $((X + x)) $((Y + y)) mousedown 1 mousemove $((X + x + tremor)) $((Y + y)) mouseup 1 click 1
}
read -r hx hy <<<"${AREA[help_bar]}"
double_click "$win" "$hx" "$hy" 2
wait_until 5 height_is "$win" 441 || fail "a double-click on the Instant Help bar did not hide it"
double_click "$win" 300 $(px $((5280 + 1080 + 127)))
wait_until 5 height_is "$win" 465 || fail "a double-click on the bottom edge did not show the bar again"
read -r cx cy <<<"${AREA[controls]}"
double_click "$win" "$cx" "$cy"
wait_until 5 height_is "$win" 441 || fail "a double-click on the controls' background did not hide the bar"
double_click "$win" "$cx" $(px $((5280 + 700)))
wait_until 5 height_is "$win" 465 || fail "a second double-click on the controls' background did not show it"

# A double-click on the run-time clock swaps it for its tip label: its dark text leaves the strip.
darkest_in_clock() {
  eval "$(geometry "$win")"
  import -window root -crop 120x10+$((X + 20))+$((Y + 19)) png:- 2>/dev/null | convert - -format '%[min]' info:
}
[ "$(darkest_in_clock)" -lt 20000 ] || fail "the run-time clock is not shown at start"
double_click "$win" 60 $(px 330)
clock_gone() { [ "$(darkest_in_clock)" -gt 40000 ]; }
wait_until 5 clock_gone || fail "a double-click on the run-time clock did not swap it for its tip label"

# A right click on the exit button while playing pauses and minimises; the window comes back
# where it was, paused, twice over.
eval "$(geometry "$win")"
before="$X $Y $WIDTH $HEIGHT"
click_at "$win" 300 40
xdotool key alt+p
started=$(date +%s%N)
RECOVERY="$WORK/prog/Settings.recovery"
for round in 1 2; do
  touch "$WORK/clicked"
  click_at "$win" "$exit_x" "$exit_y" 3
  minimised=$(date +%s%N)
  wait_until 5 window_state "$win" Iconic || fail "a right click on the exit button did not minimise (round $round)"
  if [ "$round" = 1 ]; then
    # Minimised until the recovery copy that the click brings two seconds later is written: a
    # scroller left playing would by then have moved 200 twips and counted the clock on.
    copied() { [ "$RECOVERY" -nt "$WORK/clicked" ]; }
    wait_until 10 copied || fail "no recovery copy came while the window was minimised"
  fi
  xdotool windowactivate "$win" 2>/dev/null
  wait_until 5 window_state "$win" Normal || fail "the window did not come back (round $round)"
  eval "$(geometry "$win")"
  [ "$X $Y $WIDTH $HEIGHT" = "$before" ] || fail "the window came back at $X $Y $WIDTH $HEIGHT, not $before"
done
played_ms=$(( (minimised - started) / 1000000 ))
xdotool key Escape
wait_exit "$pid" 10 || fail "Escape did not end the program after the window came back"
position=$(record_field "$SETTINGS" 4)
# 100 twips a second while it played; one round's margin for the delivery of the clicks.
[ $((480 - position)) -le $((played_ms / 10 + 30)) ] ||
  fail "the scroller went on while minimised: position $position after ${played_ms} ms of play"
[ "$(record_field "$SETTINGS" 7)" -le $((played_ms / 1000 + 1)) ] || fail "the clock went on while minimised"
[ "$(record_field "$SETTINGS" 8)" = "Short script" ] || fail "the script changed"

# The window manager's close (Alt+F4) saves once, with what the window holds.
inotifywait -m -e close_write,moved_to --format '%e %f' "$WORK/prog" >"$WORK/writes" 2>"$WORK/watch.log" &
APP_PIDS+=("$!")
wait_until 5 grep -q "Watches established" "$WORK/watch.log" || fail "could not watch the program folder"
saved=$(record_field "$SETTINGS" 4)
start_program
win=$(wait_window " Velloran") || fail "the main window did not appear for the close"
click_at "$win" 300 40
xdotool key alt+slash alt+F4
wait_exit "$LAST_PID" 10 || fail "the window manager's close did not end the program"
writes=$(grep -c ' Settings.ini$' "$WORK/writes")
[ "$writes" = 1 ] || fail "the window manager's close wrote Settings.ini $writes times"
[ "$(record_field "$SETTINGS" 4)" = $((saved - 200)) ] || fail "the close did not save the nudged position"

# The full-screen window covers the screen, the window manager's panel included.
panel_drawn() { [ "$(xprop -root _NET_WORKAREA | sed 's/.*= //' | cut -d, -f4 | tr -d ' ')" -lt 1024 ]; }
wait_until 5 panel_drawn || fail "the window manager drew no panel"
printf '100,10,27.75,480,"",0,0,"Short"\r\n' >"$SETTINGS"
start_program
win=$(wait_window " Velloran") || fail "the main window did not appear for full screen"
click_at "$win" "$(px $((10080 + 307)))" "$(px $((5280 + 240 + 307)))"   # cFull
full_screen_shown() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$LAST_PID" 2>/dev/null); do
    eval "$(geometry "$id")"
    [ "$X,$Y,$WIDTH,$HEIGHT" = "0,0,1280,1024" ] && return 0
  done
  return 1
}
wait_until 5 full_screen_shown || fail "the full-screen window does not cover the screen"
panel_covered() {
  [ "$(import -window root -crop 1280x26+0+998 png:- 2>/dev/null | convert - -format '%[max]' info:)" = 0 ]
}
wait_until 5 panel_covered || fail "the window manager's panel shows over the full-screen window"

# Its exit button's right click minimises it too, and it comes back covering the panel again.
# The one that covers the screen: the Control Panel is a window of its own.
for id in $(xdotool search --onlyvisible --pid "$LAST_PID" 2>/dev/null); do
  eval "$(geometry "$id")"
  [ "$WIDTH,$HEIGHT" = "1280,1024" ] && full=$id
done
panel_left=$(( (19200 - 10935) / 2 ))
xdotool mousemove "$(px $((panel_left + 10080 + 307)))" "$(px $((15360 - 1815 - 480 + 240 + 307)))" click 3
wait_until 5 window_state "$full" Iconic || fail "a right click on the full-screen exit button did not minimise"
xdotool windowactivate "$full" 2>/dev/null
wait_until 5 window_state "$full" Normal || fail "the full-screen window did not come back"
wait_until 5 full_screen_shown || fail "the full-screen window came back smaller than the screen"
wait_until 5 panel_covered || fail "the panel shows over the full-screen window after it came back"
control_panel_back() {
  [ "$(colour_at "$full" "$(px $((panel_left + 60)))" "$(px $((15360 - 1815 - 480 + 960)))")" = "#282830" ]
}
wait_until 5 control_panel_back || fail "the Control Panel did not come back with the full-screen window"
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the full-screen window"

echo "e2e_window: 1 passed, 0 failed"
