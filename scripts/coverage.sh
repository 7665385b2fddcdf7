#!/usr/bin/env bash
# Line and branch coverage of the portable code from the native tests: builds
# the native preset with --coverage in build/coverage, runs every test, and
# reports with gcovr (text to the terminal, HTML in build/coverage/html/).
# Branches that exist only in the compiler's output are left out of the count:
# --exclude-throw-branches (exception edges of calls: the core throws nothing,
# the tests use GoogleTest) and --exclude-unreachable-branches (edges on lines
# with no code of their own, as inlined templates leave them).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh gcovr
build=build/coverage

cmake --preset native -B "$build" -DCMAKE_CXX_FLAGS="--coverage -O0" \
    -DCMAKE_EXE_LINKER_FLAGS="--coverage" >/dev/null
cmake --build "$build" -j2
find "$build" -name '*.gcda' -delete
find "$build/CMakeFiles" -path '*CompilerId*' -name '*.gcno' -delete  # the compiler probe, no project code
ctest --test-dir "$build" -j2 --output-on-failure >"$build/ctest.log" 2>&1 || {
    tail -n 40 "$build/ctest.log"
    exit 1
}
tail -n 3 "$build/ctest.log"

common=(--root . --object-directory "$build" --exclude-throw-branches --exclude-unreachable-branches
        --exclude '.*tests/.*' --exclude '.*googletest.*')
report() {  # title, filters...: lines then branches, per file, with what is missed
    local title=$1
    shift
    local filters=()
    for f in "$@"; do filters+=(--filter "$f"); done
    echo "== $title: lines"
    gcovr "${common[@]}" "${filters[@]}" --txt - | grep -v -e '^-*$' -e '^ *GCC Code' -e '^Directory'
    echo "== $title: branches"
    gcovr "${common[@]}" "${filters[@]}" --branches --txt - |
        grep -v -e '^-*$' -e '^ *GCC Code' -e '^Directory'
}
report "engine/ expr/ generators/ (goal: 100 % lines, >= 95 % branches)" \
    'engine/' 'expr/' 'generators/'
report "portable shell texts" \
    'records/csv_record\.cpp' 'ui/field_parser\.cpp' 'ui/shell_text\.cpp' \
    'ui/clipboard_html\.cpp' 'ui/window_scale\.cpp' 'app/command_line\.cpp' \
    'app/self_test_text\.cpp'
mkdir -p "$build/html"
gcovr "${common[@]}" --filter 'engine/' --filter 'expr/' --filter 'generators/' \
    --filter 'records/csv_record\.cpp' --filter 'ui/' --filter 'app/' \
    --html-details "$build/html/index.html"
echo "HTML report: $build/html/index.html"
