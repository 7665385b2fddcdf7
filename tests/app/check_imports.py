#!/usr/bin/env python3
"""Checks what the program's exe loads: at start only kernel32, the C
runtime and advapi32 (the stack protector's canary), the window DLLs
(user32, gdi32, shell32) only on first use, nothing but system DLLs in all, and, delay-loaded ones included, no function that is
not on the list of those Windows 7 SP1 has (win7_imports.txt).

    check_imports.py EXE OBJDUMP
"""

import os
import re
import struct
import subprocess
import sys

LOADED_AT_START = {"advapi32.dll", "kernel32.dll", "msvcrt.dll"}
DELAY_LOADED = {"user32.dll", "gdi32.dll", "shell32.dll"}
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


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        count = struct.unpack_from("<H", data, pe + 6)[0]
        table = pe + 24 + struct.unpack_from("<H", data, pe + 20)[0]
        # (virtual size, virtual address, raw size, raw offset) per section
        self.sections = [struct.unpack_from("<4I", data, table + 40 * i + 8) for i in range(count)]

    def offset(self, rva):
        for vsize, va, rsize, raw in self.sections:
            if va <= rva < va + min(vsize, rsize):
                return raw + rva - va
        return None

    def rva(self, offset):
        for _, va, rsize, raw in self.sections:
            if raw <= offset < raw + rsize:
                return va + offset - raw
        return None

    def text(self, offset):
        return self.data[offset:self.data.index(b"\0", offset)].decode("ascii", "replace")


def delay_imported(image, dll):
    """Function names of dll from the exe's delay import descriptor. ld leaves
    the descriptors out of the PE directory (objdump shows none), so each is
    found as the record that points at the DLL's name: attributes 1 (RVAs),
    name, module handle, address table, name table."""
    lower = image.data.lower()
    at = lower.find(dll.encode() + b"\0")
    while at >= 0:
        name_rva = image.rva(at)
        record = image.data.find(struct.pack("<II", 1, name_rva)) if name_rva else -1
        if record >= 0 and record % 4 == 0:
            thunk = image.offset(struct.unpack_from("<8I", image.data, record)[4])
            names = []
            while thunk is not None:
                entry = struct.unpack_from("<Q", image.data, thunk)[0]
                if entry == 0:
                    return names
                if entry >> 63:
                    names.append("#%d" % (entry & 0xFFFF))  # by ordinal: never on the list
                else:
                    names.append(image.text(image.offset(entry) + 2))  # after the hint
                thunk += 8
        at = lower.find(dll.encode() + b"\0", at + 1)
    return None


def main():
    exe, objdump = sys.argv[1], sys.argv[2]
    dump = subprocess.run([objdump, "-p", exe], check=True, capture_output=True,
                          text=True).stdout
    at_start = imports_at_start(dump)
    image = Image(open(exe, "rb").read())
    delayed = {dll: delay_imported(image, dll) for dll in DELAY_LOADED}
    problems = []
    if set(at_start) != LOADED_AT_START:
        problems.append("loaded at start: %s, expected %s" % (sorted(at_start),
                                                              sorted(LOADED_AT_START)))
    missing = sorted(dll for dll, names in delayed.items() if not names)
    if missing:
        problems.append("no delay import descriptor for %s" % missing)
    allowed = read_windows_7_list()
    for dll, names in sorted(list(at_start.items()) + list(delayed.items())):
        for name in names or []:
            if name not in allowed.get(dll, set()):
                problems.append("%s!%s is not on the Windows 7 list (%s)"
                                % (dll, name, os.path.basename(WINDOWS_7_LIST)))
    for problem in problems:
        print(problem)
    print("imports at start: %s; on first use: %s; %d functions" % (
        sorted(at_start), sorted(dll for dll in delayed if delayed[dll]),
        sum(len(names or []) for names in list(at_start.values()) + list(delayed.values()))))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
