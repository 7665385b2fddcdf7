#!/usr/bin/env bash
# Runs the scaled-window end-to-end test at one display setting:
#   run_at_dpi.sh DPI WIDTHxHEIGHT SCALE E2E_EXE ARTIFACT_DIR [FILTER]
# in a Wine prefix of its own (build/wine-dpi, the same settings as the test
# prefix) set to DPI, on a private Xvfb screen of that size.
# SCALE ("numerator/denominator") is the scale the window must take there. The
# window's screenshot, which the test binary writes into its own artifact folder
# (ARTIFACT_DIR must name that folder), is left there as window-DPI-WIDTHxHEIGHT.png.
set -euo pipefail
dpi=$1 size=$2 scale=$3 e2e=$4 artifacts=$5 filter=${6:-ScaledWindow.*}
root=$(cd "$(dirname "$0")/../.." && pwd)
setting="$dpi-$size"
export TAVOMED_WINEPREFIX="$root/build/wine-dpi" WINEPREFIX="$root/build/wine-dpi"
export LC_ALL=C.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh"
"$root/scripts/wine-set-dpi.sh" "$dpi"
export TAVOMED_E2E_SCALE="$scale" TAVOMED_E2E_SETTING="$setting"
status=0
TAVOMED_SCREEN="$size" "$root/scripts/with-display.sh" \
    "$root/scripts/wine-run.sh" "$e2e" --gtest_filter="$filter" || status=$?
wineserver -k 2>/dev/null || true
bmp="$artifacts/window-$setting.bmp"
if [ -f "$bmp" ]; then
    convert "$bmp" "$artifacts/window-$setting.png" && rm -f "$bmp"
fi
exit "$status"
