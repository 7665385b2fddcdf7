#!/usr/bin/env python3
"""Checks the resources compiled into the program: the version strings (in
Chinese, so the resource compiler must have read the .rc as UTF-8), the icon
group 1 with its seven 32-bit images, and the application manifest (well-formed,
or Windows refuses to start the exe).

    check_resources.py <exe> <windres> <ico>
"""
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

EXPECTED_STRINGS = {
    "CompanyName": "TavoMed",
    "FileDescription": "护理排班表生成 V1.0",
    "FileVersion": "1.0.0.0",
    "InternalName": "HospitalTool187",
    "OriginalFilename": "护理排班表生成.exe",
    "ProductName": "护理排班表生成",
    "ProductVersion": "1.0.0.0",
}
ICON_SIZES = [16, 24, 32, 48, 64, 128, 256]
# Windows 7, 8, 8.1, 10 and 11.
SUPPORTED_OS = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}


def rc_string(literal):
    wide = literal.startswith("L")
    body = literal[2:-1] if wide else literal[1:-1]
    return re.sub(r"\\x([0-9a-fA-F]{4})" if wide else r"\\x([0-9a-fA-F]{2})",
                  lambda m: chr(int(m.group(1), 16)), body)


def check_version(rc_text, failures):
    if 'BLOCK "080404b0"' not in rc_text:
        failures.append("no string table 080404b0")
    if not re.search(r'VALUE "Translation", 0x804, 1200', rc_text):
        failures.append("translation is not 0804 / 1200")
    if not re.search(r"FILEVERSION 1, 0, 0, 0", rc_text):
        failures.append("FILEVERSION is not 1,0,0,0")
    values = {m.group(1): rc_string(m.group(2))
              for m in re.finditer(r'VALUE "(\w+)", (L?"[^"]*")', rc_text)}
    for key, expected in EXPECTED_STRINGS.items():
        if values.get(key) != expected:
            failures.append(f"{key}: {values.get(key)!r}, expected {expected!r}")
    legal = values.get("LegalCopyright", "")
    if "TavoMed" not in legal or "www.tavomed.example" not in legal:
        failures.append(f"LegalCopyright: {legal!r}")


def check_icon(ico_path, rc_text, failures):
    with open(ico_path, "rb") as f:
        data = f.read()
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    sizes = []
    for i in range(count):
        w, _, _, _, _, bits, _, _ = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        sizes.append(w or 256)
        if bits != 32:
            failures.append(f"icon image {i} has {bits} bits")
    if kind != 1 or sorted(sizes) != ICON_SIZES:
        failures.append(f"icon sizes {sizes}")
    if rc_text.count("/* RT_ICON */") != len(ICON_SIZES):
        failures.append("the exe does not hold seven icon images")
    if not re.search(r"^1 14 /\* RT_GROUP_ICON \*/", rc_text, re.M):
        failures.append("no icon group 1")


def check_manifest(rc_text, failures):
    block = re.search(r"^1 24 /\* RT_MANIFEST \*/\s*BEGIN\n(.*?)^END", rc_text, re.M | re.S)
    if not block:
        failures.append("no manifest resource 1")
        return
    pieces = re.findall(r'^\s*"((?:[^"]|"")*)"', block.group(1), re.M)
    xml = "".join(p.replace('""', '"').replace("\\n", "\n") for p in pieces)
    try:
        root = ElementTree.fromstring(xml.encode("utf-8"))
    except ElementTree.ParseError as error:
        failures.append(f"manifest is not well-formed: {error}")
        return
    attributes = [(e.tag.split("}")[-1], e.attrib, (e.text or "").strip()) for e in root.iter()]
    if not any(tag == "assemblyIdentity" and a.get("name") == "Microsoft.Windows.Common-Controls"
               and a.get("version") == "6.0.0.0" for tag, a, _ in attributes):
        failures.append("manifest: no Common Controls 6 dependency")
    if not any(tag == "requestedExecutionLevel" and a.get("level") == "asInvoker"
               for tag, a, _ in attributes):
        failures.append("manifest: not asInvoker")
    if {a.get("Id") for tag, a, _ in attributes if tag == "supportedOS"} != SUPPORTED_OS:
        failures.append("manifest: supportedOS is not Windows 7, 8, 8.1 and 10/11")
    dpi = {tag: text for tag, _, text in attributes if tag in ("dpiAware", "dpiAwareness")}
    if dpi != {"dpiAware": "true/pm", "dpiAwareness": "PerMonitorV2, PerMonitor"}:
        failures.append(f"manifest: not per-monitor v2 aware with the fallbacks: {dpi}")


def main():
    exe, windres, ico = sys.argv[1:4]
    rc_text = subprocess.run([windres, "-i", exe, "-O", "rc"], check=True,
                             capture_output=True, text=True).stdout
    failures = []
    check_version(rc_text, failures)
    check_icon(ico, rc_text, failures)
    check_manifest(rc_text, failures)
    for failure in failures:
        print("FAIL:", failure)
    print("resources:", "bad" if failures else "ok")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
