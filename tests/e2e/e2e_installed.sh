#!/usr/bin/env bash
# An installed copy, as a package puts it under /usr: its help panel shows the installed
# help.txt, Escape keeps the state in the user's configuration folder, and nothing under the
# prefix changes, whether the prefix is read-only to the program or, for the superuser, not.
set -u
BUILD=$1
source "$(dirname "$0")/xsession.sh"
trap stop_all EXIT

WORK=$(mktemp -d)
ROOT="$WORK/root"
DESTDIR="$ROOT" cmake --install "$BUILD" --prefix /usr >"$WORK/install.log" 2>&1 || fail "cmake --install failed"
mkdir -p "$WORK/home" "$WORK/run" "$WORK/config"
chmod 700 "$WORK/run"
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run" XDG_CONFIG_HOME="$WORK/config"
SETTINGS="$XDG_CONFIG_HOME/Velloran/Settings.ini"
HELP="$ROOT/usr/share/velloran/help.txt"

# Every entry of the prefix with its type, mode and size, and the checksum of every file.
snapshot() {
  (cd "$ROOT" && find . -printf '%p %y %m %s\n' | sort && find . -type f -exec md5sum {} + | sort)
}

# The superuser ignores permissions, so the prefix is mounted read-only for the program alone;
# anyone else is kept out by the permissions.
read_only=chmod
if [ "$(id -u)" -eq 0 ]; then
  if unshare --mount --propagation private true 2>/dev/null; then
    read_only=mount
  else
    read_only=none
    echo "note: no private mount here; the superuser's prefix stays writable in both runs" >&2
  fi
fi

# Starts the installed program with arguments it ignores; the prefix read-only when asked.
start_installed() {
  local mode=$1
  if [ "$mode" = mount ]; then
    unshare --mount --propagation private sh -c \
      'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" "$1" && shift && exec "$@"' \
      sh "$ROOT" "$ROOT/usr/bin/velloran" --ignored-option "$WORK/no-such-script.txt" \
      >>"$WORK/program.log" 2>&1 &
  else
    "$ROOT/usr/bin/velloran" --ignored-option "$WORK/no-such-script.txt" >>"$WORK/program.log" 2>&1 &
  fi
  LAST_PID=$!
  APP_PIDS+=("$LAST_PID")
}

# Opens the help panel, then copies its whole text to the clipboard until it holds help.txt's.
help_panel_shows_help_file() {
  local win=$1 expected
  expected=$(tr -d '\r' <"$HELP")
  click_at "$win" "$(px $((9240 + 307)))" "$(px $((5280 + 240 + 307)))"   # cHelp
  for _ in $(seq 1 30); do
    click_at "$win" "$(px $((360 + 4000)))" "$(px $((720 + 2000)))"       # into tHelp
    xdotool key ctrl+a ctrl+c
    [ "$(xclip -o -selection clipboard 2>/dev/null | tr -d '\r')" = "$expected" ] && return 0
    sleep 0.2
  done
  return 1
}

run_installed() {
  local mode=$1 before win
  before=$(snapshot)
  [ "$mode" = chmod ] && chmod -R a-w "$ROOT"
  start_installed "$mode"
  win=$(wait_window " Velloran") || fail "the installed program's window did not appear ($mode)"
  help_panel_shows_help_file "$win" || fail "the help panel does not show the installed help.txt ($mode)"
  click_at "$win" "$(px $((10440 + 127)))" "$(px $((4680 + 127)))"         # cUp: nudge up
  xdotool key Escape
  wait_exit "$LAST_PID" 10 || fail "Escape did not end the installed program ($mode)"
  [ "$mode" = chmod ] && chmod -R u+w "$ROOT"
  [ "$(snapshot)" = "$before" ] || fail "the installed program wrote under its prefix ($mode)"
}

start_x
# First run: no state yet; the nudge takes the script from 480 to 280.
run_installed "$read_only"
[ -f "$SETTINGS" ] || fail "Escape wrote no state into $SETTINGS"
[ "$(record_field "$SETTINGS" 4)" = 280 ] || fail "position $(record_field "$SETTINGS" 4), not 280, after one nudge"

# Second run, the prefix as a package leaves it (writable to the superuser): the state comes
# back from the configuration folder, one more nudge is kept there, and the prefix stays as it was.
second=none
[ "$(id -u)" -eq 0 ] || second=chmod
run_installed "$second"
[ "$(record_field "$SETTINGS" 4)" = 80 ] || fail "position $(record_field "$SETTINGS" 4), not 80, after two nudges"
[ -z "$(find "$ROOT" -name 'Settings.ini')" ] || fail "Settings.ini appeared under the prefix"

echo "e2e_installed: 1 passed, 0 failed (first run read-only by $read_only)"
