#!/usr/bin/env python3
"""Checks what the program's exe loads at start, all from the import table that
scanners read (the window DLLs, kernel32, the C runtime, advapi32 for the stack
protector's canary), and no function that Windows 7 SP1 lacks (win7_imports.txt);
and its header: ASLR, DEP, terminal-server aware, Windows 7 (6.1) as OS and
subsystem version, no writable code, and (with symbols) the stack protector.

    check_imports.py EXE OBJDUMP
"""

import os
import re
import subprocess
import sys

LOADED_AT_START = {"advapi32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "shell32.dll", "user32.dll"}
HARDENING = ("HIGH_ENTROPY_VA", "DYNAMIC_BASE", "NX_COMPAT", "TERMINAL_SERVICE_AWARE")
WINDOWS_7_LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "win7_imports.txt")


def read_windows_7_list():
    allowed, dll = {}, None
    for line in open(WINDOWS_7_LIST, encoding="utf-8"):
        line = line.split("#")[0].strip()
        if line.startswith("["):
            dll = line.strip("[]")
            allowed[dll] = set()
        elif line:
            allowed[dll].add(line.split()[0])
    return allowed


def imports_at_start(dump):
    """DLL name to imported function names, from objdump's import tables."""
    return {dll.lower(): re.findall(r"\t[0-9a-f]+\t\s*\d+\s+(\S+)\n", body)
            for dll, body in re.findall(r"DLL Name: (\S+)\n.*?\n((?:\t[0-9a-f]+\t.*\n)+)", dump)}


def header_problems(dump, code):
    flags = re.search(r"^DllCharacteristics\s+\w+\n((?:\t+\w+\n)*)", dump, re.M).group(1).split()
    problems = ["DllCharacteristics lacks " + flag for flag in HARDENING if flag not in flags]
    if re.findall(r"^M\w+(?:OSystem|Subsystem)Version\s+(\d+)", dump, re.M) != list("6161"):
        problems.append("OS or subsystem version is not 6.1")
    problems += ["writable code: " + name for name in
                 re.findall(r"^ +\d+ (\S+) .*\n +(?!.*READONLY).*CODE", dump, re.M)]
    if re.search(r"^[0-9a-f]+ <\w", code, re.M) and code.count("<__stack_chk_fail>") < 10:
        problems.append("hardly a function calls the stack protector's check")
    print("header:", " ".join(flags), "; stack checks:", code.count("<__stack_chk_fail>"))
    return problems


def main():
    exe, objdump = sys.argv[1], sys.argv[2]
    dump, code = (subprocess.run([objdump, option, exe], check=True, capture_output=True,
                                 text=True).stdout for option in ("-ph", "-d"))
    at_start = imports_at_start(dump)
    problems = header_problems(dump, code)
    if set(at_start) != LOADED_AT_START:
        problems.append("loaded at start: %s, expected %s" % (sorted(at_start),
                                                              sorted(LOADED_AT_START)))
    allowed = read_windows_7_list()
    for dll, names in sorted(at_start.items()):
        for name in names:
            if name not in allowed.get(dll, set()):
                problems.append("%s!%s is not on the Windows 7 list (%s)"
                                % (dll, name, os.path.basename(WINDOWS_7_LIST)))
    for problem in problems:
        print(problem)
    print("imports at start: %s; %d functions" % (sorted(at_start),
                                                  sum(map(len, at_start.values()))))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
