#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/, clang, ASan + UBSan) into build/fuzz and
# runs each one from its seed corpus for a bounded time. Exits non-zero on the
# first finding; the crashing input is left in build/fuzz/findings/.
#   FUZZ_SECONDS   seconds per target (default 30)
#   FUZZ_TARGETS   space-separated subset of targets (default: all built)
#   FUZZ_BUILD     build directory (default build/fuzz)
#   FUZZ_KEEP_GOING=1  run the remaining targets after a finding (long runs)
# The long runs recorded in docs/FUZZING.md:
#   FUZZ_SECONDS=600 FUZZ_BUILD=build/fuzz-long FUZZ_KEEP_GOING=1 nice -n 10 scripts/fuzz-smoke.sh
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-30}"
build="${FUZZ_BUILD:-build/fuzz}"

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

targets="${FUZZ_TARGETS:-$(cat "$build/fuzz_targets.txt")}"
mkdir -p "$build/findings"
status=0
for target in $targets; do
    corpus="$build/corpus/$target"      # grows during the run; the seeds stay untouched
    mkdir -p "$corpus"
    dict=()
    [ -f "fuzz/dict/$target.dict" ] && dict=(-dict="fuzz/dict/$target.dict")
    echo "== $target: ${seconds}s"
    if ! "$build/$target" "$corpus" "fuzz/corpus/$target" "${dict[@]}" \
            -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -max_len=4096 -print_final_stats=1 \
            -artifact_prefix="$build/findings/$target-" 2>"$build/$target.log"; then
        echo "FINDING in $target (input in $build/findings/, log in $build/$target.log):"
        tail -n 40 "$build/$target.log"
        status=1
        [ "${FUZZ_KEEP_GOING:-0}" = 1 ] || break
        continue
    fi
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/$target.log" | tail -n 2 || true
done
exit $status
