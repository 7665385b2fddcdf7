#!/usr/bin/env bash
# valgrind memcheck over every native test binary: no error and no leak of any
# kind may be reported. Builds the native preset in build/valgrind. One known
# false report of glibc's vectorised wmemcmp is suppressed (scripts/valgrind.supp).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh valgrind
build=build/valgrind

cmake --preset native -B "$build" >/dev/null
cmake --build "$build" -j2
mkdir -p "$build/logs"
status=0
for binary in $(find "$build/tests" -type f -executable -name '*_tests' | sort); do
    name=$(basename "$binary")
    log="$build/logs/$name.log"
    extra=()
    # The allocation counter replaces malloc itself: let it, so it still counts.
    [ "$name" = no_heap_tests ] && extra=(--soname-synonyms=somalloc=nouserintercepts)
    if valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --show-leak-kinds=all \
            --errors-for-leak-kinds=all --track-origins=yes --log-file="$log" \
            --suppressions=scripts/valgrind.supp -s "${extra[@]}" \
            "$binary" --gtest_brief=1 >"$build/logs/$name.out" 2>&1; then
        echo "$name: $(grep -m1 -E 'ERROR SUMMARY' "$log" | sed 's/^==[0-9]*== //'); $(grep -E 'in use at exit' "$log" | sed 's/^==[0-9]*== *//')"
    else
        echo "$name: FAILED (exit $?), see $log"
        grep -E 'ERROR SUMMARY|definitely|indirectly|possibly|still reachable' "$log" || true
        tail -n 20 "$build/logs/$name.out"
        status=1
    fi
done
exit $status
