#!/usr/bin/env bash
# 按规则排班 beside its reference: builds the arrangement's benchmark (Release,
# build/bench), times it on five seeded 40 × 31 wards and the month's re-check
# after one change, writes the wards and the arranged months as JSON, and has
# bench/arrange_mip.py solve the same wards as a mixed-integer model with CBC.
# Prints the table of docs/PERFORMANCE.md (also in build/bench/arrange-table.md).
#   BENCH_REPETITIONS  repetitions per benchmark, median reported (default 10)
#   MIP_TIME_LIMIT     seconds CBC may take per ward (default 300)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh libbenchmark-dev coinor-cbc python3-pulp
build=build/bench
repetitions="${BENCH_REPETITIONS:-10}"

cmake --preset native -B "$build" -DCMAKE_BUILD_TYPE=Release -DTAVOMED_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target tavomed_arrange_bench
"$build/bench/tavomed_arrange_bench" --wards="$build/arrange-wards.json" \
    --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.1 --benchmark_enable_random_interleaving=true \
    --benchmark_out="$build/arrange.json" --benchmark_out_format=json >/dev/null
/usr/bin/python3 bench/arrange_mip.py "$build/arrange-wards.json" "$build/arrange.json" \
    "${MIP_TIME_LIMIT:-300}" | tee "$build/arrange-table.md"
