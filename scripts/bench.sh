#!/usr/bin/env bash
# Runs the benchmark binary (Release build in build/bench) and prints the table
# of docs/PERFORMANCE.md: evaluator vs muparser vs byte floor per expression,
# ComputeTool vs the floor of writing its characters. The raw results stay in
# build/bench/bench.json, the table in build/bench/table.md.
#   BENCH_REPETITIONS  repetitions per benchmark, median reported (default 10; interleaved at random, so that
#                     a passing load on the machine spreads over all of them)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh libbenchmark-dev libmuparser-dev
build=build/bench
repetitions="${BENCH_REPETITIONS:-10}"

cmake --preset native -B "$build" -DCMAKE_BUILD_TYPE=Release -DTAVOMED_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target tavomed_bench
"$build/bench/tavomed_bench" --benchmark_repetitions="$repetitions" \
    --benchmark_report_aggregates_only=true --benchmark_min_time=0.1 \
    --benchmark_enable_random_interleaving=true \
    --benchmark_out="$build/bench.json" --benchmark_out_format=json >/dev/null
python3 - "$build/bench.json" <<'PY' | tee "$build/table.md"
import json, sys
runs = json.load(open(sys.argv[1]))
median = {}
labels = {}
for b in runs["benchmarks"]:
    if b.get("aggregate_name") != "median":
        continue
    name = b["run_name"]
    scale = {"ns": 1.0, "us": 1e3, "ms": 1e6}[b["time_unit"]]
    median[name] = b["real_time"] * scale
    labels[name] = b.get("label", "")
ok = True
print("| Expression | Evaluator ns | muparser ns | Byte floor ns | muparser / evaluator (goal >= 60) | evaluator / floor (goal <= 20) |")
print("|---|---:|---:|---:|---:|---:|")
i = 0
while f"Evaluator/{i}" in median:
    e, m, f = median[f"Evaluator/{i}"], median[f"Muparser/{i}"], median[f"ByteFloor/{i}"]
    fast, near = m / e, e / f
    ok &= fast >= 60 and near <= 20
    print(f"| `{labels[f'Evaluator/{i}']}` | {e:.1f} | {m:.1f} | {f:.2f} | {fast:.0f}x{'' if fast >= 60 else ' MISSED'} | {near:.1f}x{'' if near <= 20 else ' MISSED'} |")
    i += 1
print()
print("| ComputeTool | Characters | ComputeTool µs | Write floor µs | Ratio |")
print("|---|---:|---:|---:|---:|")
i = 0
by_name = {b["run_name"]: b for b in runs["benchmarks"] if b.get("aggregate_name") == "median"}
while f"Compute/{i}" in median:
    c, w = median[f"Compute/{i}"], median[f"WriteFloor/{i}"]
    chars = int(by_name[f"Compute/{i}"].get("chars", 0))
    ok &= c < 1e6
    print(f"| {labels[f'Compute/{i}']} | {chars} | {c/1e3:.2f} | {w/1e3:.3f} | {c/w:.0f}x |")
    i += 1
print()
print("All goals met." if ok else "GOALS MISSED (see above).")
PY
