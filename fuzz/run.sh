#!/usr/bin/env bash
# Runs every fuzz target in BUILD/fuzz for SECONDS each, seeded from
# tests/data, and prints per target the executions and what it found.
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
  seeds="$root/fuzz/seeds/$name"
  [ -d "$seeds" ] || seeds="$root/tests/data"
  log="$build/fuzz-findings/$name.log"
  "$fuzzer" -max_total_time="$seconds" -max_len=16384 -timeout=20 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" "$corpus" "$seeds" >"$log" 2>&1
  runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' | tail -n 1)
  found=$(find "$findings" -type f | wc -l)
  [ "$found" -gt 0 ] && status=1
  printf '%-24s %12s %8s  %s\n' "$name" "${runs:-?}" "$found" "$findings"
done
exit $status
