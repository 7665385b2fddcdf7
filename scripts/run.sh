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
mkdir -p build/run
cd build/run
set +e
../../scripts/wine-run.sh "../../$exe" --selftest selftest.txt
code=$?
set -e
cat selftest.txt
echo
echo "exit code: $code"
exit "$code"
