#!/usr/bin/env bash
# Getting a script in, in the real window: Insert with text on the X clipboard, then Alt+B with
# a designated backup script; each time Escape saves what the window holds.
set -u
PROGRAM_BINARY=$1
source "$(dirname "$0")/xsession.sh"
trap stop_all EXIT

start_x
make_program_folder
SETTINGS="$WORK/prog/Settings.ini"
BACKUP="$WORK/backup script.txt"
printf 'Backup, first line\r\nsecond line' >"$BACKUP"
printf '100,10,27.75,-5000,"%s",0,0,"Original"\r\n' "$BACKUP" >"$SETTINGS"

# Insert replaces the script with the clipboard's text and goes home.
start_program
win=$(wait_window " Velloran") || fail "the main window did not appear"
click_at "$win" 300 40
printf 'From the clipboard' | xclip -selection clipboard -i 2>/dev/null
for _ in $(seq 1 30); do
  [ "$(xclip -selection clipboard -o 2>/dev/null)" = "From the clipboard" ] && break
  sleep 0.1
done
xdotool key Insert Escape      # in this order, as the keys are sent
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program"
[ "$(record_field "$SETTINGS" 4)" = 480 ] || fail "Insert did not go home"
[ "$(record_field "$SETTINGS" 8)" = "From the clipboard" ] || fail "Insert did not load the clipboard"
[ "$(record_field "$SETTINGS" 5)" = "$BACKUP" ] || fail "backup path lost"

# Alt+B loads the backup script, whose name the control panel shows.
start_program
win=$(wait_window " Velloran") || fail "the main window did not appear the second time"
click_at "$win" 300 40
xdotool key alt+slash alt+slash alt+b Escape
wait_exit "$LAST_PID" 10 || fail "Escape did not end the program"
[ "$(record_field "$SETTINGS" 4)" = 480 ] || fail "the backup did not start from home"
printf 'Backup, first line\r\nsecond line' >"$WORK/expected"
[ "$(record_field "$SETTINGS" 8)" = "$(cat "$WORK/expected")" ] || fail "Alt+B did not load the backup"

echo "e2e_entry: 1 passed, 0 failed"
