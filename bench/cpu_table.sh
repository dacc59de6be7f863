#!/usr/bin/env bash
# The full-screen window's cost at the fastest pace on a real X server, as a table: for each
# screen size and picture, the median over REPEATS runs of bench/cpu_fullscreen.sh, as the share
# of one core and as CPU time per tick (the pace asks for 100 ticks a second).
#   bash bench/cpu_table.sh BINARY [REPEATS, default 3] [SECONDS, default 5] [SCRIPT, default lines]
#   CPU_SCREENS="1920x1080x24 3840x2160x24" CPU_PICTURES="plain mirror" to choose the rows.
set -u
BIN=$1
REPEATS=${2:-3}
SPAN=${3:-5}
SCRIPT=${4:-lines}
here=$(dirname "$0")
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
echo "load before: $(cat /proc/loadavg)"
printf '| screen | script | picture | main window | full, panel shown | full, panel hidden |\n|---|---|---|---|---|---|\n'
for screen in ${CPU_SCREENS:-1920x1080x24 3840x2160x24}; do
  for picture in ${CPU_PICTURES:-plain mirror}; do
    runs=$(for _ in $(seq "$REPEATS"); do bash "$here/cpu_fullscreen.sh" "$BIN" "$screen" "$SCRIPT" "$picture" "$SPAN"; done)
    cell() {
      local share
      share=$(grep "$1" <<<"$runs" | grep -o '[0-9.]*%$' | tr -d % | median)
      [ -n "$share" ] && printf '%s %% (%s us/tick)' "$share" "$(awk -v s="$share" 'BEGIN { printf "%d", s * 100 }')" || printf 'n/a'
    }
    printf '| %s | %s | %s | %s | %s | %s |\n' "${screen%x24}" "$SCRIPT" "$picture" \
      "$(cell 'main playing')" "$(cell 'panel shown')" "$(cell 'panel hidden')"
  done
done
echo "load after: $(cat /proc/loadavg)"
