#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each on its seed corpus for FUZZ_SECONDS seconds (default 60). New inputs go to a scratch
# corpus under build/fuzz, never into fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
targets=(container open_project translate_save dictionary names_table)
[ $# -gt 0 ] && targets=("$@")
# Only the fuzz targets: the preset's other programs are built and tested elsewhere.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"
# The targets write and rename small files on every run; on a memory file system that costs
# no disk flushes, which makes the targets that save several times faster.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
for t in "${targets[@]}"; do
  scratch="build/fuzz/corpus-work/$t"
  artifacts="build/fuzz/artifacts/$t"
  mkdir -p "$scratch" "$artifacts"
  echo "== fuzz_$t for ${seconds}s"
  log="build/fuzz/fuzz_$t.log"
  status=0
  build/fuzz/bin/fuzz_"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -dict=fuzz/vlp.dict -artifact_prefix="$artifacts/" -print_final_stats=1 \
    "$scratch" "fuzz/corpus/$t" >"$log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added)' "$log" || true
  grep -E '^#[0-9]+[[:space:]]+DONE' "$log" || true  # "corp: inputs/bytes" is the corpus kept
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzz_$t found a problem (exit $status); the input is saved in $artifacts"
    exit 1
  fi
done
