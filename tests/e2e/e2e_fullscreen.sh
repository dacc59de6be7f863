#!/usr/bin/env bash
# The full-screen window in a real X server: a larger font there survives an exit by its X
# button; Escape there ends the program and leaves Settings.ini byte-identical.
set -u
PROGRAM_BINARY=$1
source "$(dirname "$0")/xsession.sh"
trap stop_all EXIT

start_x
make_program_folder
SETTINGS="$WORK/prog/Settings.ini"
printf '120,12,27.75,-3000,"",1,30,"Read me full screen"\r\n' >"$SETTINGS"

# Screen 1280 x 1024 pixels = 19200 x 15360 twips; the Control Panel (10935 x 1815) is centred
# 480 twips above the bottom edge.
panel_left=$(( (19200 - 10935) / 2 ))
panel_top=$(( 15360 - 1815 - 480 ))
button_y=$(px $((panel_top + 240 + 307)))
font_plus_x=$(px $((panel_left + 240 + 307)))
exit_x=$(px $((panel_left + 10080 + 307)))

# The full-screen window covers the screen and its Control Panel has been painted.
full_screen_painted() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$LAST_PID" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "$X,$Y,$WIDTH,$HEIGHT" = "0,0,1280,1024" ] &&
      [ "$(colour_at "$id" "$(px $((panel_left + 60)))" "$(px $((panel_top + 960)))")" = "#282830" ] && return 0
  done
  return 1
}

open_full_screen() {
  start_program
  win=$(wait_window " Velloran") || fail "the main window did not appear"
  click_at "$win" 300 40
  click_at "$win" "$(px $((10080 + 307)))" "$(px $((5280 + 240 + 307)))"   # cFull
  wait_until 10 full_screen_painted || fail "the full-screen window did not appear"
}

# Clicks reach the window in the order they are made, so the exit sees the larger font.
open_full_screen
xdotool mousemove "$font_plus_x" "$button_y" click 1
xdotool mousemove "$exit_x" "$button_y" click 1
wait_exit "$LAST_PID" 10 || fail "the full-screen X button did not end the program"
printf '120,12,38,-3000,"",1,30,"Read me full screen"\r\n' >"$WORK/expected"
cmp -s "$SETTINGS" "$WORK/expected" || fail "unexpected record after the X button: $(cat "$SETTINGS")"

before=$(md5sum <"$SETTINGS")
open_full_screen
xdotool mousemove "$font_plus_x" "$button_y" click 1
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape in full screen did not end the program"
[ "$(md5sum <"$SETTINGS")" = "$before" ] || fail "Escape in full screen wrote Settings.ini"

echo "e2e_fullscreen: 1 passed, 0 failed"
