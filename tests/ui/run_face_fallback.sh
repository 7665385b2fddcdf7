#!/usr/bin/env bash
# The window's fonts where their design faces are missing, as on Windows 7:
#   run_face_fallback.sh UI_TESTS_EXE
# In the DPI tests' prefix (build/wine-dpi), first without "Microsoft YaHei UI"
# (its stand-in "Microsoft YaHei" and Consolas still there), then without either
# YaHei face nor Consolas; the prefix's own font settings are put back afterwards.
set -euo pipefail
exe=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
export TAVOMED_WINEPREFIX="$root/build/wine-dpi" WINEPREFIX="$root/build/wine-dpi"
export LC_ALL=C.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh"
trap 'wine regedit /S "$WINEPREFIX/tavomed-settings.reg" >/dev/null 2>&1; wineserver -w' EXIT
without() {
    for face in "$@"; do
        wine reg delete 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /f >/dev/null 2>&1
    done
}
run() {
    TAVOMED_EXPECT_UI_FACE="$1" TAVOMED_EXPECT_MONO_FACE="$2" \
        "$root/scripts/wine-run.sh" "$exe" --gtest_filter='WindowFonts.*'
}
without "Microsoft YaHei UI"
run "Microsoft YaHei" Consolas
without "Microsoft YaHei" Consolas
run message message
