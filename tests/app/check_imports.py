#!/usr/bin/env python3
"""Checks what the program's exe imports: the window DLLs (user32, gdi32,
shell32), kernel32, the C runtime and advapi32 (the stack protector's canary),
all in the import table that dependency viewers and scanners read, none
delay-loaded, and no function that is not on the list of those Windows 7 SP1
has (win7_imports.txt).

    check_imports.py EXE OBJDUMP
"""

import os
import re
import subprocess
import sys

IMPORTED = {"advapi32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "shell32.dll", "user32.dll"}
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


def imported(dump):
    """DLL name to imported function names, from objdump's import tables."""
    return {dll.lower(): re.findall(r"\t[0-9a-f]+\t\s*\d+\s+(\S+)\n", body)
            for dll, body in re.findall(r"DLL Name: (\S+)\n.*?\n((?:\t[0-9a-f]+\t.*\n)+)", dump)}


def main():
    exe, objdump = sys.argv[1], sys.argv[2]
    dump = subprocess.run([objdump, "-p", exe], check=True, capture_output=True,
                          text=True).stdout
    imports = imported(dump)
    problems = []
    if set(imports) != IMPORTED:
        problems.append("imported: %s, expected %s" % (sorted(imports), sorted(IMPORTED)))
    delay_directory = re.search(r"^Entry d ([0-9a-f]+) ([0-9a-f]+) Delay Import Directory", dump, re.M)
    if not delay_directory or int(delay_directory.group(2), 16) != 0:
        problems.append("a delay import directory: its functions would escape the Windows 7 list")
    allowed = read_windows_7_list()
    for dll, names in sorted(imports.items()):
        for name in names:
            if name not in allowed.get(dll, set()):
                problems.append("%s!%s is not on the Windows 7 list (%s)"
                                % (dll, name, os.path.basename(WINDOWS_7_LIST)))
    for problem in problems:
        print(problem)
    print("imports: %s; %d functions" % (sorted(imports), sum(map(len, imports.values()))))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
