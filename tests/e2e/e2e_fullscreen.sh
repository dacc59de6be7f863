#!/usr/bin/env bash
# The full-screen window in a real X server: a larger font there survives an exit by its X
# button; Escape there ends the program and leaves Settings.ini byte-identical; Alt+M shows the
# picture mirrored to the pixel; the panel and the cue keep the taskbar away; with the remote
# option, Page Down starts and pauses the scrolling, a held Page Down counts once and Escape asks
# twice; a named screen of two takes the window.
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

# The rig: no Preferences.ini yet. The panel hidden by F1, the screen shows the script alone; Alt+M
# shows it mirrored, which must be the plain screen reflected, pixel for pixel (the text cursor
# blinks, so the comparison is repeated until both pictures caught it in the same phase).
printf '50,200,27.75,480,"",0,0,"Mirrored for the glass\r\nSecond line, longer than the first\r\n\r\nFourth"\r\n' >"$SETTINGS"
open_full_screen
xdotool key F1
xdotool mousemove 640 1000
shot() { import -window root -depth 8 "$1" 2>/dev/null; }
same_pictures() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }
settled_plain() {
  shot "$WORK/plain.png" && sleep 0.2 && shot "$WORK/plain2.png" && same_pictures "$WORK/plain.png" "$WORK/plain2.png"
}
wait_until 10 settled_plain || fail "the plain full screen did not settle"
convert "$WORK/plain.png" -flop "$WORK/reflected.png"
[ -e "$WORK/prog/Preferences.ini" ] && fail "Preferences.ini was written before any change"
xdotool key alt+m
mirrored_matches() { shot "$WORK/mirrored.png" && same_pictures "$WORK/mirrored.png" "$WORK/reflected.png"; }
wait_until 10 mirrored_matches ||
  fail "the mirrored screen is not the plain one reflected ($(compare -metric AE "$WORK/mirrored.png" "$WORK/reflected.png" null: 2>&1) pixels differ)"
grep -q '^Mirror=true' "$WORK/prog/Preferences.ini" || fail "Alt+M was not saved: $(cat "$WORK/prog/Preferences.ini")"

# The Control Panel and the cue are part of the full-screen window: once F1 has hidden and shown
# the panel again and Alt+K has shown the cue, the window manager still lists the full-screen
# window alone, and its taskbar never comes over the window's bottom rows.
xdotool key F1 alt+k
cue_shown() { shot "$WORK/cue.png" && convert "$WORK/cue.png" -format %c histogram:info:- | grep -qi 'FF6020'; }
wait_until 10 cue_shown || fail "Alt+K did not show the cue"
[ "$(xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*' | wc -l)" = 1 ] ||
  fail "the window manager lists more than the full-screen window: $(xprop -root _NET_CLIENT_LIST)"
bottom_black() { [ "$(import -window root -crop 1280x26+0+998 -depth 8 txt:- 2>/dev/null | grep -vc '#000000')" = 1 ]; }
for _ in 1 2 3 4 5; do
  bottom_black || fail "the taskbar came over the full-screen window"
  sleep 0.1
done

# Without the remote option Page Down is the text box's own, and Escape ends at once.
pixels_apart() { shot "$WORK/a.png" && sleep 0.2 && shot "$WORK/b.png" && compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1; }
moving() { [ "$(pixels_apart)" -gt 2000 ]; }
standing() { [ "$(pixels_apart)" -lt 2000 ]; }
xdotool key Next
standing || fail "Page Down started the scrolling without the remote option"
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program"

# With the remote: Page Down starts the scrolling, and pauses it again. Two pictures a moment
# apart differ in far more pixels than a blink of the text cursor can make while the script
# moves, and in fewer while it stands. A held Page Down is one press, however long the X server
# repeats it.
printf '[FullScreen]\nRemote=true\n' >"$WORK/prog/Preferences.ini"
{ printf '50,200,27.75,480,"",0,0,"'; for i in $(seq 1 300); do printf 'Line %d of a script long enough to keep moving\r\n' "$i"; done
  printf '"\r\n'; } >"$SETTINGS"
open_full_screen
xdotool key F1
xdotool mousemove 640 1000
standing || fail "the paused script moves"
xdotool key Next
wait_until 10 moving || fail "Page Down did not start the scrolling"
xdotool key Next
wait_until 10 standing || fail "Page Down did not pause the scrolling"
hold_next() {  # the key held for about two seconds, the state looked at all along and after
  local want=$1
  xdotool keydown Next
  for _ in 1 2 3 4 5; do "$want" || { xdotool keyup Next; return 1; }; done
  xdotool keyup Next
  "$want" && "$want"
}
hold_next moving || fail "a held Page Down did not keep the script moving"
hold_next standing || fail "a held Page Down did not keep the script paused"

# Escape asks for a second Escape, with a notice over the script, then ends.
xdotool key Escape
notice_shown() { import -window root -crop 1x1+100+24 -depth 8 txt:- 2>/dev/null | grep -q '#FFFFC0'; }
wait_until 10 notice_shown || fail "one Escape with the remote showed no notice"
kill -0 "$LAST_PID" 2>/dev/null || fail "one Escape with the remote ended the program"
xdotool key Escape
wait_exit "$LAST_PID" 10 || fail "a second Escape did not end the program"

# Two screens on one X server: the window covers the screen the options name, whole. Without
# RandR the X screens are named by their display, such as ":5.1".
stop_x
start_x 1280x1024x24 -screen 1 1024x768x24 -extension RANDR
printf '[FullScreen]\nScreen=%s.1\n' "$DISPLAY" >"$WORK/prog/Preferences.ini"
start_program
win=$(wait_window " Velloran") || fail "the main window did not appear beside a second screen"
click_at "$win" "$(px $((10080 + 307)))" "$(px $((5280 + 240 + 307)))"   # cFull
on_second_screen() { xwininfo -display "$DISPLAY.1" -root -children | grep -iq 'velloran.*1024x768+0+0'; }
wait_until 10 on_second_screen || fail "the full-screen window is not on the named screen $DISPLAY.1"
kill -TERM "$LAST_PID"
wait_exit "$LAST_PID" 10 || fail "the program did not end on a termination request"

echo "e2e_fullscreen: 1 passed, 0 failed"
