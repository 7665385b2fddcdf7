#!/usr/bin/env bash
# The window's fonts without their design faces, as on Windows 7: in the DPI
# tests' prefix, first without "Microsoft YaHei UI", then without any YaHei face
# nor Consolas; the prefix's font settings are put back afterwards.
#   run_face_fallback.sh UI_TESTS_EXE
set -euo pipefail
exe=$1 root=$(cd "$(dirname "$0")/../.." && pwd)
export TAVOMED_WINEPREFIX="$root/build/wine-dpi" WINEPREFIX="$root/build/wine-dpi"
export LC_ALL=C.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh"
trap 'wine regedit /S "$WINEPREFIX/tavomed-settings.reg" >/dev/null 2>&1; wineserver -w' EXIT
check_without() {  # UI_FACE MONO_FACE FACE...
    export TAVOMED_EXPECT_UI_FACE=$1 TAVOMED_EXPECT_MONO_FACE=$2
    for face in "${@:3}"; do
        wine reg delete 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /f >/dev/null 2>&1
    done
    "$root/scripts/wine-run.sh" "$exe" --gtest_filter='WindowFonts.*'
}
check_without "Microsoft YaHei" Consolas "Microsoft YaHei UI"
check_without message message "Microsoft YaHei" Consolas
