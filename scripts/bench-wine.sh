#!/usr/bin/env bash
# Whole-process figures of the real program under Wine, each against a bare
# reference built here (bench/wine/): the self-test against a static console
# exe writing a 600-byte file, and the window from start to first paint and
# close against a bare window with as many controls, at 96 and at 144 DPI (the
# prefix's LogPixels, read when the wineserver starts). Own Wine prefix
# (build/wine-bench, Managed=N as every prefix of the project), one wineserver
# kept alive across runs, hyperfine from Debian. Also the exe's stripped size
# and the DLLs it imports. Then printing (bench/wine/print_bench.cpp): the
# month's page laid out and drawn at 300 DPI against a bare GDI loop over the
# same items, and the preview opened. Prints the tables and leaves them in
# build/bench/wine.md.
#   BENCH_RUNS  hyperfine runs per command (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh hyperfine
runs="${BENCH_RUNS:-30}"
out=build/bench/wine
mkdir -p "$out"

cmake --preset windows -B build/bench-windows >/dev/null
cmake --build build/bench-windows -j2 --target tavomed_app print_bench
exe="build/bench-windows/app/护理排班表生成.exe"
cp "$exe" "$out/tool.exe"  # an ASCII name keeps the hyperfine command lines simple

cc=x86_64-w64-mingw32-gcc
$cc -O2 -static -s -municode bench/wine/bare_selftest.c -o "$out/bare_selftest.exe"
$cc -O2 -static -s -municode -mwindows bench/wine/bare_window.c -o "$out/bare_window.exe"
$cc -O2 -static -s -municode bench/wine/paint_and_close.c -o "$out/paint_and_close.exe"

x86_64-w64-mingw32-strip -o "$out/tool-stripped.exe" "$out/tool.exe"
size=$(stat -c %s "$out/tool-stripped.exe")
unstripped=$(stat -c %s "$out/tool.exe")
dlls=$(x86_64-w64-mingw32-objdump -p "$out/tool.exe" | sed -n 's/^\s*DLL Name: //p' | sort | tr '\n' ' ')

export WINEPREFIX="$PWD/build/wine-bench"
scripts/wine-prefix.sh
export LC_ALL=C.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The self-test once, the window at each DPI.
for dpi in 96 144; do
    scripts/wine-set-dpi.sh "$dpi"
    selftest=""
    [ "$dpi" != 96 ] || selftest="hyperfine -N --warmup 3 --runs $runs --export-json selftest.json \
        'wine tool.exe --selftest selftest-out.txt' 'wine bare_selftest.exe bare-out.txt' >/dev/null"
    scripts/with-display.sh bash -c "
        set -euo pipefail
        wineserver -p 120
        trap 'wineserver -k 2>/dev/null || true' EXIT
        cd '$out'
        $selftest
        hyperfine -N --warmup 3 --runs $runs --export-json window$dpi.json \
            'wine paint_and_close.exe tool.exe' 'wine paint_and_close.exe bare_window.exe' >/dev/null
    "
done
scripts/wine-set-dpi.sh 96
python3 - "$out" "$size" "$unstripped" "$dlls" <<'PY' | tee "$out/wine.md"
import json, sys
out, size, unstripped, dlls = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4].split()
print("| Whole process under Wine | Program ms (mean ± σ) | Reference ms (mean ± σ) | Ratio | Goal |")
print("|---|---:|---:|---:|---:|")
for name, title, goal in (("selftest", "`--selftest` vs static console exe writing 600 bytes", 1.5),
                          ("window96", "window at 96 DPI: start, first paint, close vs bare window, 15 controls", 1.3),
                          ("window144", "window at 144 DPI: start, first paint, close vs bare window, 15 controls", 1.3)):
    r = json.load(open(f"{out}/{name}.json"))["results"]
    p, b = r[0], r[1]
    ratio = p["median"] / b["median"]
    print(f"| {title} | {p['mean']*1e3:.1f} ± {p['stddev']*1e3:.1f} | {b['mean']*1e3:.1f} ± {b['stddev']*1e3:.1f} | "
          f"{ratio:.2f}x (medians) | <= {goal}{'' if ratio <= goal else ' MISSED'} |")
system = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "msvcrt.dll", "advapi32.dll",
          "comctl32.dll", "ole32.dll", "ucrtbase.dll", "shlwapi.dll", "comdlg32.dll"}
foreign = [d for d in dlls if d.lower() not in system and not d.lower().startswith("api-ms-win-")]
print()
print(f"Exe: {size} bytes stripped ({size/1048576:.2f} MiB, goal < 1 MiB{'' if size < 1048576 else ' MISSED'}), "
      f"{unstripped} bytes as built.")
print(f"Imported DLLs: {', '.join(dlls)} ({'system DLLs only' if not foreign else 'NOT SYSTEM: ' + ', '.join(foreign)}).")
PY
echo | tee -a "$out/wine.md"
# Wine sees the Unix root as drive Z (winepath would start a server without
# the display).
TAVOMED_WINEPREFIX="$WINEPREFIX" scripts/with-display.sh scripts/wine-run.sh \
    build/bench-windows/bench/wine/print_bench.exe "Z:$(tr / '\\' <<<"$PWD/$exe")" "$runs" |
    tr -d '\r' | tee -a "$out/wine.md"
