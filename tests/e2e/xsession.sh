# Shared helpers of the end-to-end tests: a private X server with a window manager, a program
# folder, and waits. Sourced by the test scripts; they call start_x and stop_all themselves.

WORK=""
LAST_PID=""
XVFB_PID=""
WM_PID=""
WM_DIR=""
APP_PIDS=()

fail() {
  echo "FAIL: $*" >&2
  [ -n "$WORK" ] && [ -s "$WORK/program.log" ] && sed 's/^/  program: /' "$WORK/program.log" >&2
  stop_all
  exit 1
}

# Starts Xvfb (screen 1280x1024x24 unless given; further arguments go to Xvfb) on a display it
# picks itself (so two tests never race for one), then the window manager; a server or window
# manager that dies on the way is replaced by a fresh pair.
start_x() {
  local number screen=${1:-1280x1024x24}
  shift $(($# > 0))
  for _ in 1 2 3; do
    number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$screen" "$@" -nolisten tcp 3>"$number" >/dev/null 2>&1 &
    XVFB_PID=$!
    # The server writes its display number once it accepts connections.
    if wait_until 10 test -s "$number" && kill -0 "$XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$(head -1 "$number")"
      rm -f "$number"
      start_wm && return 0
    fi
    rm -f "$number"
    stop_x
  done
  echo "no X server with a window manager could be started" >&2
  exit 1
}

# Starts IceWM on our display, with a configuration folder of its own (so nothing of the user's
# changes it), and waits until it has announced itself on the root window.
start_wm() {
  WM_DIR=$(mktemp -d)
  # A taskbar without clock or meters: nothing on the screen changes unless the program does,
  # so a test can wait for two identical screenshots.
  printf '%s\n' TaskBarShowClock=0 TaskBarShowCPUStatus=0 TaskBarShowMEMStatus=0 \
    TaskBarShowNetStatus=0 TaskBarShowMailboxStatus=0 >"$WM_DIR/preferences"
  ICEWM_PRIVCFG="$WM_DIR" icewm >"$WM_DIR/wm.log" 2>&1 &
  WM_PID=$!
  wm_ready() {
    kill -0 "$WM_PID" 2>/dev/null || return 2
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
  }
  wait_until 10 wm_ready && return 0
  echo "the window manager did not start:" >&2
  cat "$WM_DIR/wm.log" >&2
  return 1
}

# Stops the window manager and the X server, waiting until the server is gone.
stop_x() {
  if [ -n "$WM_PID" ]; then
    kill "$WM_PID" 2>/dev/null
    wait "$WM_PID" 2>/dev/null
    WM_PID=""
  fi
  [ -n "$WM_DIR" ] && rm -rf "$WM_DIR"
  WM_DIR=""
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
  fi
}

# Runs the command until it succeeds; fails after the timeout (seconds).
wait_until() {
  local limit=$1
  shift
  for _ in $(seq 1 $((limit * 20))); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

# A fresh program folder with the program and its help file, and a private runtime folder
# so the single-instance lock of this test does not meet anyone else's.
make_program_folder() {
  WORK=$(mktemp -d)
  mkdir -p "$WORK/prog" "$WORK/home" "$WORK/run"
  chmod 700 "$WORK/run"
  cp "$PROGRAM_BINARY" "$WORK/prog/velloran"
  local help
  help="$(dirname "$PROGRAM_BINARY")/help.txt"
  [ -f "$help" ] && cp "$help" "$WORK/prog/help.txt"
  export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run" XDG_CONFIG_HOME="$WORK/home/.config"
}

# Starts the program in the background; its pid goes to LAST_PID.
start_program() {
  "$WORK/prog/velloran" >>"$WORK/program.log" 2>&1 &
  LAST_PID=$!
  APP_PIDS+=("$LAST_PID")
}

# The colour (#RRGGBB) of the screen at a window-relative pixel.
colour_at() {
  local id=$1 x=$2 y=$3
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "1x1+$((X + x))+$((Y + y))" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -1
}

# True once the main window has been painted: its left margin shows the window's grey.
main_window_painted() { [ "$(colour_at "$1" 5 133)" = "#C0C0C0" ]; }

# Waits until the main window (by its name) is mapped and painted; prints its id.
wait_window() {
  local name=$1 id=""
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -1)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] && wait_until 10 main_window_painted "$id" || return 1
  echo "$id"
}

# Waits until the process has ended; fails the test after the timeout (seconds).
wait_exit() {
  local pid=$1 limit=${2:-10}
  for _ in $(seq 1 $((limit * 10))); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# Window-relative click: window id, x, y (pixels), button.
click_at() {
  local id=$1 x=$2 y=$3 button=${4:-1}
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + x)) $((Y + y)) click "$button"
}

# Twips to pixels at the X server's 96 dots per inch.
px() { echo $(( ($1 + 7) / 15 )); }

stop_all() {
  local pid
  for pid in "${APP_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  stop_x
  [ -n "${KEEP_WORK:-}" ] && echo "kept $WORK" >&2
  [ -n "$WORK" ] && [ -z "${KEEP_WORK:-}" ] && rm -rf "$WORK"
  return 0
}

# Field n (1-based) of the settings record, for the numeric fields 1 to 4, 6 and 7.
record_field() {
  python3 - "$1" "$2" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read().decode('utf-8')
fields, i = [], 0
while len(fields) < 8:
    if data[i] == '"':
        j = data.index('"', i + 1)
        fields.append(data[i + 1:j])
        i = j + 2
    else:
        j = i
        while data[j] not in ',\r\n':
            j += 1
        fields.append(data[i:j])
        i = j + 1
print(fields[int(sys.argv[2]) - 1], end='')
PY
}
