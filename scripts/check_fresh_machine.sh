#!/usr/bin/env bash
# The README's two commands on a fresh Debian 12 machine: builds a minimal Debian 12 root with
# debootstrap, clones the committed HEAD of this repository into it, and runs there
#   bash scripts/setup.sh run     until the window shows on its virtual display, then ends it
#   bash scripts/setup.sh test
# printing how long each took. Nothing of this machine's packages or build caches is used, so
# a package the set-up forgets to install shows up here. Slow: everything is downloaded and built.
#   bash scripts/check_fresh_machine.sh [ROOT]     as root; ROOT defaults to /var/tmp/velloran-freshroot
# The root is made anew at every run, outside the repository; KEEP_ROOT=1 leaves it behind.
# MIRROR, when set, is the Debian mirror for debootstrap (its own default otherwise).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "${1:-/var/tmp/velloran-freshroot}")
[ "$(id -u)" -eq 0 ] || { echo "check_fresh_machine: run it as root (debootstrap and chroot need it)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "check_fresh_machine: debootstrap is missing (apt-get install debootstrap)" >&2; exit 2; }
case "$root/" in "$repo"/* | /) echo "check_fresh_machine: the root must be a folder outside the repository" >&2; exit 2 ;; esac
commit=$(git -C "$repo" rev-parse HEAD)
log_dir=$(mktemp -d)

mounts_inside() { awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/mounts; }
# Processes whose root is ours: the ones this script started there, and theirs.
inside_pids() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && echo "${p#/proc/}"
  done
  return 0
}
end_inside() {
  local pids
  pids=$(inside_pids)
  [ -z "$pids" ] && return 0
  kill $pids 2>/dev/null || true
  for _ in $(seq 50); do
    [ -z "$(inside_pids)" ] && return 0
    sleep 0.1
  done
  pids=$(inside_pids)
  [ -n "$pids" ] && kill -9 $pids 2>/dev/null
  return 0
}
remove_root() {
  [ -e "$root" ] || return 0
  if [ -n "$(mounts_inside)" ]; then
    echo "check_fresh_machine: $root still has mounts; it is left alone" >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
}
cleanup() {
  end_inside
  local m
  for m in $(mounts_inside | sort -r); do umount -R "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; done
  [ -n "${KEEP_ROOT:-}" ] && echo "kept $root" || remove_root || true
  rm -rf "$log_dir"
}
trap cleanup EXIT

# Runs a command inside the root as a new login would: a clean environment, as root.
inside() {
  chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}
elapsed() { printf '%dm %02ds' $(($1 / 60)) $(($1 % 60)); }

remove_root
start=$SECONDS
echo "== debootstrap bookworm into $root"
debootstrap --variant=minbase bookworm "$root" ${MIRROR:+"$MIRROR"} >"$log_dir/debootstrap.log" 2>&1 ||
  { tail -20 "$log_dir/debootstrap.log" >&2; exit 1; }
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
for fs in dev sys; do
  mount --rbind "/$fs" "$root/$fs"
  mount --make-rslave "$root/$fs"
done
git clone --quiet --no-checkout "$repo" "$root/root/velloran"
git -C "$root/root/velloran" checkout --quiet --detach "$commit"
root_time=$((SECONDS - start))
echo "root made and $commit cloned in $(elapsed "$root_time")"

echo "== bash scripts/setup.sh run (until the window shows)"
start=$SECONDS
inside bash -c 'cd /root/velloran && exec bash scripts/setup.sh run' >"$log_dir/run.log" 2>&1 &
run_pid=$!
shown=""
while kill -0 "$run_pid" 2>/dev/null; do
  display=$(grep -o 'virtual display :[0-9]*' "$log_dir/run.log" | head -1 | cut -d' ' -f3 || true)
  if [ -n "$display" ] && inside env DISPLAY="$display" xdotool search --onlyvisible --name ' Velloran' >/dev/null 2>&1; then
    shown=yes
    break
  fi
  [ $((SECONDS - start)) -lt 7200 ] || break
  sleep 1
done
run_time=$((SECONDS - start))
end_inside
if [ -z "$shown" ]; then
  echo "FAIL: the run command did not show the window; its last lines:" >&2
  tail -30 "$log_dir/run.log" >&2
  exit 1
fi
echo "run: the window showed after $(elapsed "$run_time") (packages installed, program built)"

echo "== bash scripts/setup.sh test"
start=$SECONDS
status=0
inside bash -c 'cd /root/velloran && bash scripts/setup.sh test' >"$log_dir/test.log" 2>&1 || status=$?
test_time=$((SECONDS - start))
grep -E 'tests passed|tests failed|settings_fuzz: |\(Failed\)|\(Timeout\)|\*\*\*' "$log_dir/test.log" || true
echo "test: exit status $status after $(elapsed "$test_time")"
[ "$status" -eq 0 ] || { echo "its last lines:" >&2; tail -40 "$log_dir/test.log" >&2; }
echo "check_fresh_machine: root $(elapsed "$root_time"), run $(elapsed "$run_time"), test $(elapsed "$test_time")"
exit "$status"
