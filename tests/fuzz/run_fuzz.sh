#!/usr/bin/env bash
# Runs a fuzz target for the given seconds from its seed corpus and reports the executions. New
# inputs and any failing input go to a temporary folder, never into the repository; a failure
# prints the input (base64) so it can be added to the corpus once fixed.
#   run_fuzz.sh <fuzzer> <seed corpus> [seconds, default 30]
set -u
fuzzer=$1
seeds=$2
seconds=${3:-30}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cd "$work" || exit 1
"$fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 "$work/corpus" "$seeds" \
  >"$work/log" 2>&1
status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
if [ "$status" -ne 0 ]; then
  tail -n 40 "$work/log"
  echo "FAIL: $(basename "$fuzzer") found a failing input after ${runs:-?} executions"
  exit 1
fi
echo "$(basename "$fuzzer"): ${runs} executions in ${seconds} s, no failure"
