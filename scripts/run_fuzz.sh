#!/usr/bin/env bash
# Runs every fuzz target for a time on its seeds; any crash, sanitizer report,
# leak, timeout or memory blow-up fails the run. JOBS targets run at once
# (each is one process on one core).
# Usage: run_fuzz.sh BUILD_DIR SEED_DIR SECONDS TARGET...
set -uo pipefail
build=$1 seeds=$2 seconds=$3
shift 3
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# fontconfig and glib keep caches for the whole process; they are no leaks.
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp

# fuzz_one TARGET: runs one target, writes its verdict line to findings/TARGET.verdict.
fuzz_one() {
  local t=$1
  local corpus=$build/corpus/$t
  mkdir -p "$corpus" "$build/findings/$t"
  local log=$build/findings/$t.log
  # libwmf allocates from header fields without touching the memory, so the
  # malloc limit is high and the resident-memory limit does the bounding.
  if "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
      -malloc_limit_mb=8192 -print_final_stats=1 -artifact_prefix="$build/findings/$t/" \
      "$corpus" "$seeds/$t" >"$log" 2>&1; then
    echo "fuzz_$t: $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs," \
      "$(grep -oE 'cov: [0-9]+' "$log" | tail -1), no findings" >"$build/findings/$t.verdict"
  else
    { echo "fuzz_$t: FINDING (see $log)"
      grep -E 'ERROR|runtime error|Test unit written' "$log" | head -5; } >"$build/findings/$t.verdict"
    return 1
  fi
}

failed=0
running=0
for t in "$@"; do
  fuzz_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
for t in "$@"; do cat "$build/findings/$t.verdict"; done
exit $failed
