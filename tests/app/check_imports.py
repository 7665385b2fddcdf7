#!/usr/bin/env python3
"""Checks what the program's exe loads: at start only kernel32 and the C
runtime, the window DLLs (user32, gdi32, shell32) only on first use, and
nothing but system DLLs in all.

    check_imports.py EXE OBJDUMP
"""

import re
import subprocess
import sys

LOADED_AT_START = {"kernel32.dll", "msvcrt.dll"}
DELAY_LOADED = {"user32.dll", "gdi32.dll", "shell32.dll"}


def main():
    exe, objdump = sys.argv[1], sys.argv[2]
    dump = subprocess.run([objdump, "-p", exe], check=True, capture_output=True,
                          text=True).stdout
    imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}
    data = open(exe, "rb").read().lower()
    delayed = {name for name in DELAY_LOADED if name.encode() + b"\0" in data}
    problems = []
    if imported != LOADED_AT_START:
        problems.append("loaded at start: %s, expected %s" % (sorted(imported),
                                                              sorted(LOADED_AT_START)))
    if delayed != DELAY_LOADED:
        problems.append("delay-loaded names found: %s" % sorted(delayed))
    for problem in problems:
        print(problem)
    print("imports at start: %s; on first use: %s" % (sorted(imported), sorted(delayed)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
