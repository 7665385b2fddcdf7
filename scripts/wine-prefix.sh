#!/bin/sh
# Creates the Wine prefix named by WINEPREFIX once: no installer dialogs, no
# window manager (closing windows costs no 2-second wait), no crash dialog,
# and the Chinese UI fonts mapped to an installed CJK font.
set -eu
: "${WINEPREFIX:?}"
export LC_ALL=C.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/.tavomed-ready" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$WINEPREFIX/.tavomed-ready" ] && exit 0
wineboot -i >/dev/null 2>&1 || true
reg_file="$WINEPREFIX/tavomed-settings.reg"
cat > "$reg_file" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Microsoft YaHei UI"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"Consolas"="WenQuanYi Micro Hei Mono"
"SimSun"="WenQuanYi Micro Hei"
"Tahoma"="WenQuanYi Micro Hei"
"MS Shell Dlg"="WenQuanYi Micro Hei"
"MS Shell Dlg 2"="WenQuanYi Micro Hei"
REG
wine regedit /S "$reg_file" >/dev/null 2>&1
wineserver -w
touch "$WINEPREFIX/.tavomed-ready"
