#!/usr/bin/env bash
# Builds the benchmarks in Release, runs every one of them and prints one table of all figures:
# CPU time per iteration, throughput, and for the steps measured at several sizes the ratio of
# the largest size's time to the smallest's (16x / 1x; at most 20 means growth no worse than
# n log n).
#
# A shared machine slows a run down now and then. Each benchmark is therefore repeated, the
# repetitions of all benchmarks of a suite run in random order, and the table shows the best
# repetition (the least disturbed one) with the median beside it.
#
#   scripts/bench.sh [build-dir]          default build-dir: build/bench
#   BENCH_FILTER=Translate scripts/bench.sh   only benchmarks whose name matches (a regex)
#   BENCH_MIN_TIME=2 scripts/bench.sh         seconds per repetition (default 0.3)
#   BENCH_REPETITIONS=9 scripts/bench.sh      repetitions of each benchmark (default 5)
#   BENCH_UI=OFF scripts/bench.sh             without the window's benchmarks (and without Qt)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build="${1:-build/bench}"
filter="${BENCH_FILTER:-.}"
min_time="${BENCH_MIN_TIME:-0.3}"
repetitions="${BENCH_REPETITIONS:-5}"
ui="${BENCH_UI:-ON}"

# Quiet unless something fails.
run_quietly() {
  local log
  if ! log="$("$@" 2>&1)"; then
    echo "$log" >&2
    exit 1
  fi
}
run_quietly cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVLP_BUILD_UI="$ui" -DVLP_BUILD_BENCHMARKS=ON
run_quietly cmake --build "$build" --target vlp_benchmarks -j "$(nproc)"

results="$(mktemp -d)"
trap 'rm -rf "$results"' EXIT
for exe in "$build"/bench/*; do
  [[ -f "$exe" && -x "$exe" ]] || continue
  name="$(basename "$exe")"
  echo "running $name ..." >&2
  if ! "$exe" --benchmark_filter="$filter" --benchmark_min_time="$min_time" \
    --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
    --benchmark_out="$results/$name.json" --benchmark_out_format=json >"$results/$name.log" 2>&1; then
    cat "$results/$name.log" >&2
    exit 1
  fi
done

python3 - "$results"/*.json <<'EOF'
import json
import os
import sys

runs = {}  # (suite, run name) -> its repetitions, in the order they ran
load = None
for path in sys.argv[1:]:
    if not os.path.exists(path) or os.path.getsize(path) == 0:  # the filter matched nothing there
        continue
    with open(path) as f:
        data = json.load(f)
    load = load or data.get("context", {}).get("load_avg")
    for b in data.get("benchmarks", []):
        if b.get("run_type") == "aggregate" or b.get("error_occurred"):
            continue
        name = b.get("run_name", b["name"])
        family, _, size = name.partition("/")
        size = size.split("/")[0]
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b.get("time_unit", "ns")]
        suite = path.rsplit("/", 1)[-1].removesuffix(".json")
        runs.setdefault((suite, name), []).append({
            "suite": suite,
            "family": family,
            "size": int(size) if size.isdigit() else None,
            "cpu_ms": b["cpu_time"] * scale,
            "bytes": b.get("bytes_per_second"),
            "items": b.get("items_per_second"),
        })

# One row per benchmark: its best repetition, with the median of all of them.
rows = []
for (suite, name), repetitions in sorted(runs.items(), key=lambda kv: (kv[0][0], kv[1][0]["family"],
                                                                      kv[1][0]["size"] or 0, kv[0][1])):
    best = dict(min(repetitions, key=lambda r: r["cpu_ms"]))
    times = sorted(r["cpu_ms"] for r in repetitions)
    best["median_ms"] = times[len(times) // 2]
    best["repetitions"] = len(times)
    rows.append(best)

def rate(row):
    parts = []
    if row["bytes"]:
        parts.append(f"{row['bytes'] / 1e6:9.1f} MB/s")
    if row["items"]:
        parts.append(f"{row['items'] / 1e3:9.1f} k items/s")
    return ", ".join(parts) or "-"

# The ratio of the largest size's time to the smallest's, shown on the largest size's row.
ratios = {}
for family in {r["family"] for r in rows}:
    # Only arguments that are sizes: small ones (0, 1) choose a variant of the benchmark.
    sized = sorted((r for r in rows if r["family"] == family and r["size"] is not None), key=lambda r: r["size"])
    if len(sized) >= 2 and sized[0]["size"] > 1 and sized[0]["cpu_ms"] > 0:
        ratios[(family, sized[-1]["size"])] = (sized[-1]["cpu_ms"] / sized[0]["cpu_ms"],
                                               sized[-1]["size"] // sized[0]["size"])

header = (f"{'suite':<22} {'benchmark':<26} {'size':>6} {'best CPU':>12} {'median':>12}  "
          f"{'throughput (best)':<32} {'growth':<16}")
print(header)
print("-" * len(header))
for r in rows:
    growth = ""
    if (r["family"], r["size"]) in ratios:
        ratio, factor = ratios[(r["family"], r["size"])]
        growth = f"{factor}x size: {ratio:5.1f}x"
    size = str(r["size"]) if r["size"] is not None else "-"
    print(f"{r['suite']:<22} {r['family']:<26} {size:>6} {r['cpu_ms']:9.2f} ms {r['median_ms']:9.2f} ms  "
          f"{rate(r):<32} {growth:<16}")
repetitions = max((r["repetitions"] for r in rows), default=0)
print(f"\nCPU time per iteration, best and median of {repetitions} repetitions run in random order; "
      "growth compares the best times.")
if load:
    print(f"Load average at the start: {', '.join(f'{x:.2f}' for x in load)}")
EOF
