#!/usr/bin/env bash
# Runs every fuzz target in BUILD/fuzz for SECONDS each, one after the other,
# and prints per target the executions and what it found. Seeds come from
# fuzz/seeds/<target> where that exists, and from tests/data for the targets
# that read DXF; the corpus grows in BUILD/fuzz-corpus/<target> from run to
# run.
# Usage: fuzz/run.sh BUILD SECONDS
set -u
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
printf '%-24s %12s %8s  %s\n' target executions findings "kept in"
for fuzzer in "$build"/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus="$build/fuzz-corpus/$name"
  findings="$build/fuzz-findings/$name"
  mkdir -p "$corpus" "$findings"
  seeds=()
  [ -d "$root/fuzz/seeds/$name" ] && seeds+=("$root/fuzz/seeds/$name")
  options=(-max_len=16384)
  case $name in
    fuzz_pair_stream) seeds+=("$root/tests/data") ;;
    # Whole runs: short drawings keep an input in milliseconds.
    fuzz_conversion) seeds+=("$root/tests/data"); options=(-max_len=4096) ;;
    # Qt keeps caches growing from input to input, which would start the
    # leak check after nearly every one; the sanitizer suite checks leaks.
    fuzz_window_state) options+=(-detect_leaks=0) ;;
  esac
  [ ${#seeds[@]} -gt 0 ] || seeds=("$root/tests/data")
  log="$build/fuzz-findings/$name.log"
  "$fuzzer" -max_total_time="$seconds" "${options[@]}" -timeout=20 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" >"$log" 2>&1
  runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' | tail -n 1)
  found=$(find "$findings" -type f | wc -l)
  [ "$found" -gt 0 ] && status=1
  printf '%-24s %12s %8s  %s\n' "$name" "${runs:-?}" "$found" "$findings"
done
exit $status
