#!/bin/sh
# Runs a Windows program under Wine in the project's own prefix (created on
# first use under build/wine), with the settings the tests rely on.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${TAVOMED_WINEPREFIX:-$here/build/wine}"
export LC_ALL=C.UTF-8
export WINEDEBUG="${WINEDEBUG:--all}"
# A caller's own DLL overrides are kept, after the project's.
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
"$here/scripts/wine-prefix.sh" || exit 1
# Wine may start its background services from this process; they would inherit
# our standard output and keep the reader (ctest) waiting after the program has
# ended. So the program writes to a file, which is passed on once it ends.
output=$(mktemp)
wine "$@" >"$output" 2>&1 </dev/null
status=$?
cat "$output"
rm -f "$output"
exit "$status"
