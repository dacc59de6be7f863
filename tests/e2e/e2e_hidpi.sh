#!/usr/bin/env bash
# Both windows at a screen scale of 2 against the same at 1: the main window doubles to
# 1458 x 930, the full-screen window covers the screen, the layout holds to the device pixel and
# text is drawn at the device's resolution (hidpi_check.py).
set -u
PROGRAM_BINARY=$1
source "$(dirname "$0")/xsession.sh"
trap stop_all EXIT

make_program_folder
SHOTS=$(mktemp -d)
trap 'stop_all; if [ -n "${KEEP_WORK:-}" ]; then echo "kept $SHOTS" >&2; else rm -rf "$SHOTS"; fi' EXIT

# Waits until two screenshots in a row are the same, so the window is painted and still.
wait_still() {
  local shot=$1 previous="" current
  for _ in $(seq 1 50); do
    import -window root "$shot"
    current=$(convert "$shot" -depth 8 rgb:- | md5sum)
    [ "$current" = "$previous" ] && return 0
    previous=$current
    sleep 0.2
  done
  return 1
}

# Takes the main window and then the full-screen window at one scale on a screen of 1280 x 800
# logical pixels; writes main<scale>.png with the window's corner in main<scale>.at.
capture_at_scale() {
  local scale=$1 win geometry
  start_x "$((1280 * scale))x$((800 * scale))x24"
  printf '100,10,27.75,480,"",0,0,"Velloran at twice the scale\r\nAVWMgjpqy 0123456789\r\nSharp edges, never blurred"\r\n' \
    >"$WORK/prog/Settings.ini"
  QT_SCALE_FACTOR=$scale start_program
  win=$(wait_window " Velloran") || fail "the main window did not appear at scale $scale"
  eval "$(xdotool getwindowgeometry --shell "$win")"
  [ "$WIDTH x $HEIGHT" = "$((729 * scale)) x $((465 * scale))" ] ||
    fail "the main window is $WIDTH x $HEIGHT at scale $scale"
  echo "$X,$Y" >"$SHOTS/main$scale.at"
  wait_still "$SHOTS/main$scale.png" || fail "the main window did not settle at scale $scale"

  click_at "$win" "$((scale * $(px $((10080 + 307)))))" "$((scale * $(px $((5280 + 240 + 307)))))"   # cFull
  local full=""
  for _ in $(seq 1 50); do
    for id in $(xdotool search --onlyvisible --classname velloran 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id")"
      [ "$X,$Y,$WIDTH,$HEIGHT" = "0,0,$((1280 * scale)),$((800 * scale))" ] && full=$id
    done
    [ -n "$full" ] && ! xdotool search --onlyvisible --name " Velloran" >/dev/null 2>&1 && break
    sleep 0.1
  done
  [ -n "$full" ] || fail "no full-screen window covers the screen at scale $scale"
  wait_still "$SHOTS/full$scale.png" || fail "the full-screen window did not settle at scale $scale"

  xdotool key Escape
  wait_exit "$LAST_PID" 10 || fail "Escape did not end the full-screen window at scale $scale"
  stop_x
}

capture_at_scale 1
capture_at_scale 2
python3 "$(dirname "$0")/hidpi_check.py" "$SHOTS/main1.png,$(cat "$SHOTS/main1.at")" \
  "$SHOTS/main2.png,$(cat "$SHOTS/main2.at")" "$SHOTS/full1.png" "$SHOTS/full2.png" ||
  { fail "the windows at scale 2 are not the windows at scale 1 drawn twice as fine"; }
echo "e2e_hidpi: 1 passed, 0 failed"
