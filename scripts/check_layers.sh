#!/bin/bash
# The layers and the parts of the windows, lowest first: each may include only those listed before
# it (and itself). Prints every include that reaches upwards and fails when there is one.
set -u
SRC="${1:-$(dirname "$0")/../src}"
ORDER=(engine session platform appsession ui/widgets ui/script ui/pane ui/mainwindow ui/fullscreen app)
rank() { local i; for i in "${!ORDER[@]}"; do [ "${ORDER[$i]}" = "$1" ] && echo "$i" && return; done; echo -1; }
part_of() {
  local path="$1" p best=""
  # The application session lives in the session folder but sits above the platform layer.
  case "$path" in session/appsession.* | session/recoverycopy.* | session/readingview.h) echo appsession && return ;; esac
  for p in "${ORDER[@]}"; do case "$path" in "$p"/*) best="$p" ;; esac; done
  echo "$best"
}
status=0
while IFS= read -r file; do
  rel="${file#"$SRC"/}"
  from=$(part_of "$rel")
  [ -n "$from" ] || continue
  while IFS= read -r included; do
    to=$(part_of "$included")
    [ -n "$to" ] || continue
    [ "$to" = "$from" ] && continue
    # mainwindow and fullscreen are side by side: neither may include the other.
    if [ "$(rank "$to")" -ge "$(rank "$from")" ] || { [ "$from" = ui/fullscreen ] && [ "$to" = ui/mainwindow ]; }; then
      echo "$rel includes $included" && status=1
    fi
  done < <(sed -n 's/^#include "\([a-z]*\/[^"]*\)".*/\1/p' "$file")
done < <(find "$SRC" -name '*.h' -o -name '*.cpp')
exit $status
