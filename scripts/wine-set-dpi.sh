#!/bin/sh
# Sets the display DPI of the Wine prefix named by WINEPREFIX: LogPixels, which
# Wine reads when its server starts. Stops the prefix's server first and waits
# until the server that wrote the keys has saved them and ended.
#   wine-set-dpi.sh DPI
set -eu
: "${WINEPREFIX:?}"
export LC_ALL=C.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -k 2>/dev/null || true
wineserver -w
for key in 'HKCU\Control Panel\Desktop' 'HKCU\Software\Wine\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
done
wineserver -w
