#!/usr/bin/env bash
# The program's CPU share, measured from outside on a real X server (Xvfb with the window
# manager of the end-to-end tests), at the fastest pace (speed 10, frequency 1000): the main
# window playing, then the full-screen window playing with its Control Panel shown and hidden.
# Each figure is the process's user + system time over a span, as a share of one core.
#   bash bench/cpu_fullscreen.sh BINARY [WxHxD, default 1920x1080x24] [lines|mb10, default lines]
#                                [plain|mirror|flip|cue, default plain] [seconds, default 5]
# Prints one line per figure. The machine's other load disturbs the figures: look at
# /proc/loadavg first and repeat.
set -u
BIN=$1
RIG_SCREEN=${2:-1920x1080x24}
SCRIPT=${3:-lines}
PICTURE=${4:-plain}
SECONDS_EACH=${5:-5}
PROGRAM_BINARY=$BIN
source "$(dirname "$0")/../tests/e2e/xsession.sh"
trap stop_all EXIT

start_x "$RIG_SCREEN"
make_program_folder
python3 - "$WORK/prog/Settings.ini" "$SCRIPT" <<'PY'
import sys
line = "Line %d of a script that fills the band with plenty of words to read"
count = 600 if sys.argv[2] == "lines" else 10 * 1024 * 1024 // len(line % 100000)
lines = "\r\n".join(line % i for i in range(count))
open(sys.argv[1], 'wb').write(('10,1000,27.75,480,"",0,0,"' + lines + '"\r\n').encode())
PY
case $PICTURE in
  mirror) printf '[FullScreen]\nMirror=true\n' >"$WORK/prog/Preferences.ini" ;;
  flip) printf '[FullScreen]\nFlip=true\n' >"$WORK/prog/Preferences.ini" ;;
  cue) printf '[FullScreen]\nCue=true\n' >"$WORK/prog/Preferences.ini" ;;
esac
start_program
pid=$LAST_PID
win=$(wait_window " Velloran") || fail "no main window"

cpu() {
  local t0 t1
  t0=$(awk '{print $14+$15}' "/proc/$pid/stat")
  sleep "$SECONDS_EACH"
  t1=$(awk '{print $14+$15}' "/proc/$pid/stat")
  # awk rather than bc: a fresh Debian machine has awk but not bc.
  awk -v t0="$t0" -v t1="$t1" -v hz="$(getconf CLK_TCK)" -v span="$SECONDS_EACH" \
    'BEGIN { printf "%.1f\n", (t1 - t0) * 100 / hz / span }'
}
# Waits (fixed spans: this is a measurement, not a test) for the state to settle.
settle() { sleep 1; }

click_at "$win" 300 100
xdotool key alt+p
settle
echo "$RIG_SCREEN $SCRIPT $PICTURE main playing: $(cpu)%"
xdotool key alt+p
settle
click_at "$win" "$(px $((10080 + 307)))" "$(px $((5280 + 240 + 307)))"
settle
xdotool key alt+p
settle
echo "$RIG_SCREEN $SCRIPT $PICTURE full panel shown: $(cpu)%"
[ -n "${SHOT:-}" ] && import -window root "$SHOT-shown.png"
xdotool key F1
settle
echo "$RIG_SCREEN $SCRIPT $PICTURE full panel hidden: $(cpu)%"
[ -n "${SHOT:-}" ] && import -window root "$SHOT-hidden.png"
xdotool key Escape
wait_exit "$pid" 10
