#!/usr/bin/env bash
# Sets up the machine, then builds and runs everything CI runs: every test suite, the core
# suites again under AddressSanitizer + UndefinedBehaviorSanitizer, and each fuzz target for a
# short, fixed time (FUZZ_SECONDS, default 60). The benchmarks are built, not run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

bash scripts/build.sh default
ctest --preset default
# The benchmarks are built with the default preset; one short pass shows they still run.
build/default/bench/project_scale_bench --benchmark_filter='/500$' --benchmark_min_time=0.01 >/dev/null

bash scripts/build.sh asan
ctest --preset asan

bash scripts/fuzz.sh
