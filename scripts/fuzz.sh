#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each on its seed corpus for FUZZ_SECONDS seconds (default 60). New inputs go to a scratch
# corpus under build/fuzz, never into fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
bash scripts/build.sh fuzz
targets=(container open_project translate_save dictionary names_table)
[ $# -gt 0 ] && targets=("$@")
for t in "${targets[@]}"; do
  scratch="build/fuzz/corpus-work/$t"
  mkdir -p "$scratch"
  echo "== fuzz_$t for ${seconds}s"
  log="build/fuzz/fuzz_$t.log"
  status=0
  build/fuzz/bin/fuzz_"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 "$scratch" "fuzz/corpus/$t" >"$log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added)' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzz_$t found a problem (exit $status); the input is in the log above"
    exit 1
  fi
done
