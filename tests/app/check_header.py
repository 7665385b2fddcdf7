#!/usr/bin/env python3
"""Checks the hardening of the program's exe, as its PE header tells it: ASLR
with 64-bit addresses (and the relocations it needs), DEP, terminal-server
awareness, Windows 7 (6.1) as OS and subsystem version, no section both
writable and executable. Given the program's objects as well, checks that every
function of them that reserves 256 bytes of stack or more (its arrays) calls
the stack protector's check.

    check_header.py OBJDUMP EXE [OBJECT_OR_LIBRARY...]
"""
import re
import struct
import subprocess
import sys

DLL_CHARACTERISTICS = {0x0020: "HIGH_ENTROPY_VA", 0x0040: "DYNAMIC_BASE", 0x0100: "NX_COMPAT",
                       0x8000: "TERMINAL_SERVER_AWARE"}
WINDOWS_7 = (6, 1)
SCN_MEM_EXECUTE, SCN_MEM_WRITE = 0x20000000, 0x80000000
LARGE_FRAME = 0x100


def header_problems(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    os_version = struct.unpack_from("<HH", data, optional + 40)
    subsystem_version = struct.unpack_from("<HH", data, optional + 48)
    characteristics = struct.unpack_from("<H", data, optional + 70)[0]
    relocations_size = struct.unpack_from("<I", data, optional + 112 + 5 * 8 + 4)[0]
    problems = [f"DllCharacteristics lacks {name}"
                for flag, name in DLL_CHARACTERISTICS.items() if not characteristics & flag]
    if os_version != WINDOWS_7 or subsystem_version != WINDOWS_7:
        problems.append(f"OS version {os_version}, subsystem version {subsystem_version}, "
                        f"expected {WINDOWS_7}")
    if relocations_size == 0:
        problems.append("no base relocations: the loader cannot move the image")
    table = optional + optional_size
    for i in range(sections):
        name = data[table + 40 * i:table + 40 * i + 8].rstrip(b"\0").decode()
        flags = struct.unpack_from("<I", data, table + 40 * i + 36)[0]
        if flags & SCN_MEM_EXECUTE and flags & SCN_MEM_WRITE:
            problems.append(f"section {name} is writable and executable")
    print(f"header: DllCharacteristics 0x{characteristics:04x}, OS {os_version[0]}.{os_version[1]}, "
          f"subsystem {subsystem_version[0]}.{subsystem_version[1]}, {sections} sections")
    return problems


def unguarded_functions(objdump, objects):
    """(functions that reserve a large frame without the canary check, guarded count)"""
    dump = subprocess.run([objdump, "-dr", "--no-show-raw-insn", *objects], check=True,
                          capture_output=True, text=True).stdout
    unguarded, guarded = [], 0
    for name, body in re.findall(r"^[0-9a-f]+ <(\S+)>:\n(.*?)(?=^[0-9a-f]+ <|\Z)", dump, re.M | re.S):
        frame = re.search(r"sub +\$0x([0-9a-f]+),%rsp", body) or (
            "___chkstk_ms" in body and re.search(r"mov +\$0x([0-9a-f]+),%eax", body))
        if "__stack_chk_fail" in body:
            guarded += 1
        elif frame and int(frame.group(1), 16) >= LARGE_FRAME:
            unguarded.append(name)
    return unguarded, guarded


def main():
    objdump, exe, objects = sys.argv[1], sys.argv[2], sys.argv[3:]
    problems = header_problems(open(exe, "rb").read())
    if objects:
        unguarded, guarded = unguarded_functions(objdump, objects)
        problems += [f"{name} reserves a large frame without the stack protector" for name in unguarded]
        if guarded == 0:
            problems.append("no function calls the stack protector's check")
        print(f"stack protector: {guarded} functions check their canary")
    for problem in problems:
        print("FAIL:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
