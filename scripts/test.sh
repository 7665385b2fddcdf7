#!/usr/bin/env bash
# Runs every test: the native build (core and shell texts), the same under the
# sanitizers, a short run of every fuzz target, and the Windows build (the same
# tests and the real program's end-to-end tests, under Wine on Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake --workflow --preset native
cmake --workflow --preset native-asan
scripts/fuzz-smoke.sh

cmake --preset windows
cmake --build --preset windows
export WINEPREFIX="$PWD/build/wine"
scripts/wine-prefix.sh
scripts/with-display.sh bash -c '
    export LC_ALL=C.UTF-8 WINEDEBUG=-all
    wineserver -p 60
    trap "wineserver -k 2>/dev/null || true" EXIT
    ctest --preset windows
'
