#!/usr/bin/env bash
# Takes the README's picture from the real program: starts it on a private X server (with IceWM
# when installed), in a fresh program folder so nobody's state shows or changes, waits until its
# main window is painted and still, and writes the window alone as a PNG.
#   bash scripts/screenshot.sh [program] [picture]   (defaults: build/velloran, docs/images/velloran.png)
set -euo pipefail
cd "$(dirname "$0")/.."

program=$(realpath "${1:-build/velloran}")
picture=$(realpath -m "${2:-docs/images/velloran.png}")
[ -x "$program" ] || { echo "no program at $program (build it first: bash scripts/setup.sh run)" >&2; exit 1; }
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (see scripts/setup.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
finish() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap finish EXIT

# Runs the command until it succeeds, for at most the given seconds.
wait_until() {
  local limit=$1
  shift
  for _ in $(seq 1 $((limit * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# The server picks a free display and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
wait_until 10 test -s "$work/display" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"
if command -v icewm >/dev/null; then
  mkdir "$work/icewm"
  ICEWM_PRIVCFG="$work/icewm" icewm >/dev/null 2>&1 &
  pids+=($!)
  wait_until 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' ||
    echo "IceWM did not start; the picture is taken without it" >&2
fi

mkdir -p "$work/prog" "$work/home" "$work/run"
chmod 700 "$work/run"
cp "$program" "$work/prog/velloran"
help="$(dirname "$program")/help.txt"
[ -f "$help" ] && cp "$help" "$work/prog/help.txt"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run" \
  "$work/prog/velloran" >"$work/program.log" 2>&1 &
pids+=($!)

window_id() { xdotool search --onlyvisible --name Velloran 2>/dev/null | head -1; }
has_window() { [ -n "$(window_id)" ]; }
wait_until 20 has_window || { cat "$work/program.log" >&2; echo "no window appeared" >&2; exit 1; }
id=$(window_id)
eval "$(xdotool getwindowgeometry --shell "$id")"
grab() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1" 2>/dev/null; }
# Painted once the left margin shows the window's grey, and finished once two grabs agree.
painted() { [ "$(import -window root -crop "1x1+$((X + 5))+$((Y + 133))" -depth 8 txt:- 2>/dev/null |
                 grep -o '#[0-9A-F]\{6\}' | head -1)" = "#C0C0C0" ]; }
still() {
  grab "$work/a.png" && sleep 0.3 && grab "$work/b.png" &&
    [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" = 0 ]
}
wait_until 10 painted || { echo "the window was never painted" >&2; exit 1; }
# The script a little way in, as a reader sees it: twenty nudges up (Alt+/) past the greeting.
xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowactivate --sync "$id"
for _ in $(seq 20); do xdotool key --delay 20 alt+slash; done
wait_until 10 still || { echo "the window never stopped changing" >&2; exit 1; }

mkdir -p "$(dirname "$picture")"
convert "$work/b.png" -strip -define png:compression-level=9 "$picture"
echo "wrote $picture (${WIDTH}x${HEIGHT}, $(stat -c %s "$picture") bytes)"
