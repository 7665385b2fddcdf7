#!/usr/bin/env bash
# Builds the program and runs it under Wine: the window when a display is there,
# otherwise the self-test, whose report is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target tavomed_app
exe="build/windows/app/护理排班表生成.exe"
if [ -n "${DISPLAY:-}" ]; then
    exec scripts/wine-run.sh "$exe"
fi
report="$PWD/build/selftest.txt"
set +e
scripts/wine-run.sh "$exe" --selftest "$(winepath_of() { echo "Z:${1//\//\\}"; }; winepath_of "$report")"
code=$?
set -e
cat "$report"
echo "exit code: $code"
exit "$code"
