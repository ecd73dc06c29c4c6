#!/usr/bin/env bash
# Runs every fuzz target for a time on its seeds; any crash, sanitizer report,
# leak, timeout or memory blow-up fails the run.
# Usage: run_fuzz.sh BUILD_DIR SEED_DIR SECONDS TARGET...
set -uo pipefail
build=$1 seeds=$2 seconds=$3
shift 3
root=$(cd "$(dirname "$0")/.." && pwd)
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# fontconfig and glib keep caches for the whole process; they are no leaks.
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp
failed=0
for t in "$@"; do
  corpus=$build/corpus/$t
  mkdir -p "$corpus" "$build/findings/$t"
  log=$build/findings/$t.log
  # libwmf allocates from header fields without touching the memory, so the
  # malloc limit is high and the resident-memory limit does the bounding.
  if "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
      -malloc_limit_mb=8192 -print_final_stats=1 -artifact_prefix="$build/findings/$t/" \
      "$corpus" "$seeds/$t" >"$log" 2>&1; then
    echo "fuzz_$t: $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs," \
      "$(grep -oE 'cov: [0-9]+' "$log" | tail -1), no findings"
  else
    echo "fuzz_$t: FINDING (see $log)"
    grep -E 'ERROR|runtime error|Test unit written' "$log" | head -5
    failed=1
  fi
done
exit $failed
