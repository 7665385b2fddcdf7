#!/usr/bin/env bash
# The printed page, end to end: in a Wine prefix of its own (build/wine-print)
# Wine's PostScript driver becomes the default printer, printing to a file;
# the printing tests of E2E_EXE print the 40 x 31 rota there, and the page is
# read back from the PDF that ghostscript makes of it:
#   run_with_printer.sh ADD_PRINTER_EXE E2E_EXE ARTIFACT_DIR
# The test sets the printer's paper to A3: one A3 landscape page, every nurse,
# every day and 护士01's row in order in its text, every font embedded. The
# page is left as printed-40x31.pdf and .png.
# A second printer, whose jobs fail at their end, serves the failure path.
set -euo pipefail
helper=$1 e2e=$2 artifacts=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
export TAVOMED_WINEPREFIX="$root/build/wine-print" WINEPREFIX="$root/build/wine-print"
export LC_ALL=C.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export TAVOMED_E2E_PRINTER="TavoMed Test PS"
mkdir -p "$artifacts"
ps="$artifacts/printed.ps" pdf="$artifacts/printed-40x31.pdf"
rm -f "$ps" "$pdf"
"$root/scripts/wine-prefix.sh"
# The printer whose jobs fail first: the one made the default comes last.
export TAVOMED_E2E_FAILING_PRINTER="TavoMed Failing PS"
"$root/scripts/wine-run.sh" "$helper" "$TAVOMED_E2E_FAILING_PRINTER" "$artifacts/lost.ps" wineps
"$root/scripts/wine-run.sh" "$helper" "$TAVOMED_E2E_PRINTER" "$ps"
# The server that ran the helper without a display must be gone first.
wineserver -w
status=0
"$root/scripts/with-display.sh" "$root/scripts/wine-run.sh" "$e2e" --gtest_filter='PrintTest.*' ||
    status=$?
wineserver -k 2>/dev/null || true
[ "$status" -eq 0 ] || exit "$status"

ps2pdf "$ps" "$pdf"
pdftoppm -r 100 -png -singlefile "$pdf" "${pdf%.pdf}"
fail() { echo "printed page: $*"; exit 1; }
info=$(pdfinfo "$pdf")
grep -q '^Pages: *1$' <<<"$info" || fail "not one page: $(grep Pages <<<"$info")"
grep -q '^Page size: .* (A3)$' <<<"$info" || fail "not A3: $(grep 'size' <<<"$info")"
grep -q '^Page rot: *90$' <<<"$info" || fail "not landscape"
text=$(pdftotext -layout "$pdf" -)
for n in $(seq -w 1 40); do grep -q "护士$n" <<<"$text" || fail "no 护士$n"; done
for d in $(seq 1 31); do grep -q "\b$d日" <<<"$text" || fail "no $d日"; done
# Nurse 1 works day j's shift (2j mod 3) of D, N, R: D R N D R N ...
row="护士01" shifts=DNR
for j in $(seq 0 30); do row+="\s+${shifts:$(((2 * j) % 3)):1}"; done
grep -Pq "$row" <<<"$text" || fail "护士01's row: $(grep 护士01 <<<"$text")"
pdffonts "$pdf" | awk 'NR > 2 && $(NF - 4) != "yes" { print; bad = 1 } END { exit bad }' ||
    fail "a font not embedded"
echo "printed page: one A3 landscape page, 40 nurses, 31 days, fonts embedded"
