#!/usr/bin/env bash
# One entry point for a fresh Debian machine: installs what is missing, builds, then either
# starts the program (run), runs every test (test), prints the benchmark table (bench) or
# builds the Debian package (package). The test mode runs every test once: the unit and widget
# tests built with warnings as errors and under the address and undefined-behaviour sanitizers
# (the dev preset of CMakePresets.json, in build-dev/), the end-to-end, install, benchmark and
# fuzz tests against the Release program (in build/). The Release tests, which mostly wait for X,
# run while the sanitizer build compiles.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
build=${VELLORAN_BUILD_DIR:-build}
packages=(cmake g++ ninja-build pkg-config qt6-base-dev libgl-dev fonts-liberation
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-utils xclip imagemagick python3
          dpkg-dev file desktop-file-utils appstream icewm inotify-tools x11-xserver-utils
          clang libclang-rt-14-dev qt6-httpserver-dev qt6-websockets-dev libqrencode-dev
          libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us qt6-multimedia-dev espeak-ng sox)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

if [ "$mode" = package ]; then
  # The program alone: no tests or benchmark to build.
  build=${VELLORAN_BUILD_DIR:-build-package}
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLORAN_BUILD_TESTS=OFF \
        -DVELLORAN_BUILD_BENCH=OFF
  cmake --build "$build" -j "$(nproc)"
  (cd "$build" && cpack -G DEB)
  echo "Install it with: sudo apt install ./$(ls "$build"/velloran_*.deb)"
  exit 0
fi

if [ "$mode" = test ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLORAN_BUILD_UNIT_TESTS=OFF
else
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
if [ "$mode" = run ]; then
  cmake --build "$build" -j "$(nproc)" --target velloran
else
  cmake --build "$build" -j "$(nproc)"
fi

case "$mode" in
  run)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      # No screen here: give the program a virtual one so it still starts, on a display number
      # the server picks itself (it writes it once it accepts connections).
      number=$(mktemp)
      Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
      for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
      [ -s "$number" ] || { echo "The virtual display (Xvfb) did not start." >&2; exit 1; }
      export DISPLAY=":$(head -1 "$number")"
      rm -f "$number"
      echo "No display found: Velloran runs on the virtual display $DISPLAY" \
           "(see it with: DISPLAY=$DISPLAY import -window root shot.png)"
    fi
    exec "$build/velloran"
    ;;
  test)
    status=0
    started=$SECONDS
    stage() { echo "== $1 after $((SECONDS - started)) s"; }
    release_log=$(mktemp)
    ctest --test-dir "$build" --output-on-failure -j 2 --timeout 300 >"$release_log" 2>&1 &
    release_tests=$!
    dev=${VELLORAN_DEV_BUILD_DIR:-build-dev}
    cmake --preset dev -B "$dev" >/dev/null
    # At a lower priority, so the end-to-end tests' X servers and programs get a core whenever
    # they need one and see the timing of an idle machine.
    nice -n 10 cmake --build "$dev" -j "$(nproc)" || status=1
    stage "sanitizer build done"
    wait "$release_tests" || status=1
    cat "$release_log"
    rm -f "$release_log"
    # The fuzz tests' own reports: how many inputs each tried.
    grep -h '^[a-z]*_fuzz: ' "$build/Testing/Temporary/LastTest.log" || true
    stage "Release tests done"
    ctest --preset dev --test-dir "$dev" || status=1
    stage "sanitizer tests done"
    exit "$status"
    ;;
  bench)
    exec bash bench/run_bench.sh "$build"
    ;;
  *)
    echo "usage: $0 [run|test|bench|package]" >&2
    exit 2
    ;;
esac
