#!/usr/bin/env python3
"""Writes the release into DIST: NAME.exe, NAME-VERSION-win64.zip, holding the
exe and the user guide, NAME-VERSION-x64.msi, the Windows Installer package of
both built by wixl from installer.wxs, NAME-VERSION.cdx.json, the bill of
materials (bill_of_materials.py), and SHA256SUMS for every other file there.
When the environment names a certificate or the signatures of a signed release
(signature.py), the exe is signed before it goes into the zip and the package,
then the package, and each signature stands beside them as FILE.sig.

    package.py NAME VERSION EXE GUIDE ICON SOURCE_DIR DIST LINK_MAP INCLUDE_DIRS CXX LINKER

LINK_MAP is the exe's link map, INCLUDE_DIRS the compiler's own include folders
(separated by semicolons), CXX and LINKER the compiler and linker that built it.
Every file depends on nothing but its inputs: the zip's entries in a fixed order,
each dated by the last commit (or SOURCE_DATE_EPOCH), with fixed attributes;
the package's product code derived from the version, its package code from the
version and the commit date, and every date in it the commit's. The guide is
written with a byte order mark and CR LF line ends, for Notepad.
"""
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import uuid
import xml.etree.ElementTree as ElementTree
import zipfile
import zlib

import bill_of_materials
import signature

FILE_ATTRIBUTE_ARCHIVE = 0x20
UNICODE_PATH_FIELD = 0x7075
INSTALLER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "installer.wxs")
WIX = "{http://schemas.microsoft.com/wix/2006/wi}"
# The installer's attributes that may hold text outside ASCII, and the row of
# the package database each becomes: table, column, key column, key (None: the
# element's Id).
TEXT_ROWS = {
    ("Product", "Name"): ("Property", "Value", "Property", "ProductName"),
    ("Directory", "Name"): ("Directory", "DefaultDir", "Directory", None),
    ("File", "Name"): ("File", "FileName", "File", None),
    ("Shortcut", "Name"): ("Shortcut", "Name", "Shortcut", None),
    ("MajorUpgrade", "DowngradeErrorMessage"):
        ("LaunchCondition", "Description", "Condition", "NOT WIX_DOWNGRADE_DETECTED"),
}
# Summary information properties: package code (a string), creation and save
# times (FILETIME: 100 ns since 1601).
PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM = 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64
END_OF_CHAIN = 0xFFFFFFFA


class ZipEntry(zipfile.ZipInfo):
    """An entry whose name is stored in code page 936 (GBK), since Windows'
    own zip folders read names in the system code page and ignore the UTF-8
    flag; the Unicode Path extra field adds the UTF-8 name for 7-Zip, WinRAR
    and unzip."""

    def __init__(self, name, date_time):
        super().__init__(name, date_time)
        self.create_system = 0  # MS-DOS attributes, whatever system packs it
        self.external_attr = FILE_ATTRIBUTE_ARCHIVE
        self.compress_type = zipfile.ZIP_DEFLATED
        header_name = name.encode("gbk")
        utf8_name = name.encode("utf-8")
        self.extra = struct.pack("<HHBI", UNICODE_PATH_FIELD, 5 + len(utf8_name), 1,
                                 zlib.crc32(header_name)) + utf8_name

    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits


def last_commit_time(source_dir):
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                             check=True, capture_output=True, text=True).stdout
        return int(out)
    except (OSError, ValueError, subprocess.CalledProcessError) as error:
        sys.exit("release: the zip is dated by the last commit, which git cannot tell here "
                 f"({error}); build from a git clone or set SOURCE_DATE_EPOCH")


def guide_bytes(path):
    text = open(path, encoding="utf-8-sig").read().replace("\r\n", "\n")
    return b"\xef\xbb\xbf" + text.replace("\n", "\r\n").encode("utf-8")


def run(command, cwd):
    done = subprocess.run(command, cwd=cwd, capture_output=True, text=True,
                          env=dict(os.environ, LC_ALL="C.UTF-8", TZ="UTC0"))
    if done.returncode != 0:
        sys.exit(f"release: {' '.join(command)} failed:\n{done.stdout}{done.stderr}")
    return done.stdout


def text_rows(wxs):
    """The rows that wixl leaves empty: (table, column, key column, key, text)
    for every attribute outside ASCII of the preprocessed installer."""
    rows = []
    for element in wxs.iter():
        for attribute, text in element.attrib.items():
            if text.isascii():
                continue
            row = TEXT_ROWS.get((element.tag[len(WIX):], attribute))
            if row is None or "'" in text:
                sys.exit(f"release: {element.tag[len(WIX):]}/@{attribute} of installer.wxs holds "
                         f"{text!r}, which package.py cannot write into the package")
            table, column, key_column, key = row
            rows.append((table, column, key_column, key or element.get("Id"), text))
    return rows


def small_stream_offsets(data, name):
    """The file offset of every byte of the compound file's stream NAME, one
    below the mini-stream cutoff (as the summary information is)."""
    sector = 1 << struct.unpack_from("<H", data, 0x1E)[0]
    mini = 1 << struct.unpack_from("<H", data, 0x20)[0]
    fat_count, first_directory = struct.unpack_from("<II", data, 0x2C)
    first_minifat = struct.unpack_from("<I", data, 0x3C)[0]
    if fat_count > 109:
        sys.exit("release: the package is too large for its summary to be rewritten")
    fat = []
    for fat_sector in struct.unpack_from("<109I", data, 0x4C)[:fat_count]:
        fat += struct.unpack_from(f"<{sector // 4}I", data, (fat_sector + 1) * sector)

    def chain(start, table):
        while start < END_OF_CHAIN:
            yield start
            start = table[start]

    def sectors(start):
        return b"".join(data[(s + 1) * sector:(s + 2) * sector] for s in chain(start, fat))

    directory = sectors(first_directory)
    entries = {}
    for at in range(0, len(directory), 128):
        name_size, = struct.unpack_from("<H", directory, at + 64)
        start, size = struct.unpack_from("<IQ", directory, at + 116)
        entries.setdefault(directory[at:at + max(name_size - 2, 0)].decode("utf-16-le"), (start, size))
    minifat = struct.unpack(f"<{len(sectors(first_minifat)) // 4}I", sectors(first_minifat))
    mini_stream = list(chain(entries["Root Entry"][0], fat))
    start, size = entries[name]
    offsets = []
    for mini_sector in chain(start, minifat):
        at = mini_sector * mini
        base = (mini_stream[at // sector] + 1) * sector + at % sector
        offsets += range(base, base + mini)
    return offsets[:size]


def pin_summary(msi, package_code, seconds):
    """Writes the package code and the dates (both random or of now, as wixl
    writes them) into the summary information in place."""
    data = bytearray(open(msi, "rb").read())
    offsets = small_stream_offsets(data, "\x05SummaryInformation")
    stream = bytes(data[at] for at in offsets)
    section, = struct.unpack_from("<I", stream, 44)
    count, = struct.unpack_from("<I", stream, section + 4)
    values = {PID_REVNUMBER: (VT_LPSTR, package_code.encode("ascii") + b"\0")}
    filetime = struct.pack("<Q", (seconds + 11644473600) * 10_000_000)
    values.update({pid: (VT_FILETIME, filetime) for pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM)})
    for i in range(count):
        pid, offset = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        if pid not in values:
            continue
        kind, value = values.pop(pid)
        at = section + offset
        if struct.unpack_from("<I", stream, at)[0] != kind:
            sys.exit(f"release: summary property {pid} of wixl's package is not of type {kind}")
        if kind == VT_LPSTR:
            if struct.unpack_from("<I", stream, at + 4)[0] != len(value):
                sys.exit("release: wixl's package code is not a braced GUID")
            at += 4
        for i_byte, byte in enumerate(value):
            data[offsets[at + 4 + i_byte]] = byte
    if values:
        sys.exit(f"release: wixl's summary information lacks properties {sorted(values)}")
    open(msi, "wb").write(data)


def installer_source(version):
    """installer.wxs as wixl reads it, its variables replaced."""
    if shutil.which("wixl") is None or shutil.which("msibuild") is None:
        sys.exit("release: wixl and msibuild are missing; scripts/setup.sh installs them "
                 "(Debian packages wixl and msitools)")
    return ElementTree.fromstring(run(["wixl", "-E", "-D", f"Version={version}", "-D", "ProductCode=*",
                                       os.path.basename(INSTALLER)], os.path.dirname(INSTALLER)))


def write_installer(wxs, version, exe, guide_data, icon, seconds, msi):
    """The package of installer.wxs (WXS, preprocessed), built by wixl in a folder
    of its own, with the texts outside ASCII in the database's code page and the
    summary pinned."""
    with tempfile.TemporaryDirectory() as stage:
        for source, staged in ((exe, "program.exe"), (icon, "tavomed.ico"), (INSTALLER, "installer.wxs")):
            shutil.copyfile(source, os.path.join(stage, staged))
        open(os.path.join(stage, "guide.txt"), "wb").write(guide_data)
        for staged in os.listdir(stage):  # the cabinet dates each file by its time
            os.utime(os.path.join(stage, staged), (seconds, seconds))
        product = wxs.find(WIX + "Product")
        upgrade_code = uuid.UUID(product.get("UpgradeCode"))
        product_code = str(uuid.uuid5(upgrade_code, version)).upper()
        package_code = "{%s}" % str(uuid.uuid5(upgrade_code, f"{version} {seconds}")).upper()
        run(["wixl", "-a", "x64", "-D", f"Version={version}", "-D", f"ProductCode={product_code}",
             "-o", "package.msi", "installer.wxs"], stage)
        with open(os.path.join(stage, "_ForceCodepage.idt"), "w", newline="") as f:
            f.write(f"\r\n\r\n{product.get('Codepage')}\t_ForceCodepage\r\n")
        run(["msibuild", "package.msi", "-i", "_ForceCodepage.idt"], stage)
        queries = []
        for table, column, key_column, key, text in text_rows(wxs):
            queries += ["-q", f"UPDATE `{table}` SET `{column}`='{text}' WHERE `{key_column}`='{key}'"]
        run(["msibuild", "package.msi"] + queries, stage)
        pin_summary(os.path.join(stage, "package.msi"), package_code, seconds)
        shutil.copyfile(os.path.join(stage, "package.msi"), msi)


def write_zip(path, exe_name, exe_data, guide_data, seconds):
    date_time = time.gmtime(seconds)[:6]
    with zipfile.ZipFile(path, "w") as archive:
        for entry, data in ((exe_name, exe_data), ("使用说明.txt", guide_data)):
            archive.writestr(ZipEntry(entry, date_time), data, compresslevel=9)


def file_sha256(path):
    return hashlib.sha256(open(path, "rb").read()).hexdigest()


def main():
    name, version, exe, guide, icon, source_dir, dist, link_map, include_dirs, cxx, linker = sys.argv[1:12]
    signing = signature.signing_from(os.environ)
    seconds = last_commit_time(source_dir)
    wxs = installer_source(version)
    product = wxs.find(WIX + "Product")
    # The package's summary and the signatures describe the program alike, in ASCII.
    description = product.find(WIX + "Package").get("Description")
    url = product.find(WIX + "Property[@Id='ARPURLINFOABOUT']").get("Value")
    exe_name = name + ".exe"
    zip_name = f"{name}-{version}-win64.zip"
    msi_name = f"{name}-{version}-x64.msi"
    bom_name = f"{name}-{version}.cdx.json"
    # Written aside and put in place whole: a release that fails leaves the last one as it was.
    with tempfile.TemporaryDirectory() as stage:
        out = os.path.join(stage, "dist")
        os.makedirs(out)
        staged_exe, staged_msi = os.path.join(stage, "program.exe"), os.path.join(stage, "package.msi")
        shutil.copyfile(exe, staged_exe)
        if signing:
            signature.sign_file(signing, staged_exe, exe_name, description, url, out)
        shutil.copyfile(staged_exe, os.path.join(out, exe_name))
        write_zip(os.path.join(out, zip_name), exe_name, open(staged_exe, "rb").read(),
                  guide_bytes(guide), seconds)
        write_installer(wxs, version, staged_exe, guide_bytes(guide), icon, seconds, staged_msi)
        if signing:
            signature.sign_file(signing, staged_msi, msi_name, description, url, out)
        shutil.copyfile(staged_msi, os.path.join(out, msi_name))
        tools = [cxx, linker, shutil.which("wixl"), shutil.which("msibuild")]
        bill_of_materials.write(
            os.path.join(out, bom_name),
            bill_of_materials.Program(name, version, product.get("Manufacturer"), description, url),
            seconds, {entry: file_sha256(os.path.join(out, entry)) for entry in (exe_name, zip_name, msi_name)},
            link_map, include_dirs.split(";"), tools + ([shutil.which("osslsigncode")] if signing else []))
        listed = [zip_name, msi_name, exe_name, bom_name] + sorted(
            entry for entry in os.listdir(out) if entry.endswith(".sig"))
        # CR LF, so that Notepad shows one line each; sha256sum -c reads it as well.
        sums = "".join(f"{file_sha256(os.path.join(out, entry))}  {entry}\r\n" for entry in listed)
        with open(os.path.join(out, "SHA256SUMS"), "w", encoding="utf-8", newline="") as f:
            f.write(sums)
        shutil.rmtree(dist, ignore_errors=True)  # only this release, no older one
        shutil.copytree(out, dist)
    print(sums.replace("\r\n", "\n"), end="")


if __name__ == "__main__":
    main()
