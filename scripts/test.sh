#!/usr/bin/env bash
# Sets up the machine, then builds and runs everything CI runs: every test suite, the core
# suites again under AddressSanitizer + UndefinedBehaviorSanitizer, and each fuzz target for a
# short, fixed time (FUZZ_SECONDS, default 60). The benchmarks are built and run once briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT

bash scripts/build.sh default
ctest --preset default | tee "$logs/default.log"
# The benchmarks are built with the default preset; one short pass shows they still run.
build/default/bench/project_scale_bench --benchmark_filter='/500$' --benchmark_min_time=0.01 >/dev/null

bash scripts/build.sh asan
ctest --preset asan | tee "$logs/asan.log"

bash scripts/fuzz.sh

# Every step above stops the script on a failure, so reaching here means all passed.
total=$(grep -h -oE 'tests failed out of [0-9]+' "$logs"/*.log | awk '{s += $NF} END {print s + 0}')
echo "tests: $total passed, 0 failed"
