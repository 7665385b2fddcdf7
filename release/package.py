#!/usr/bin/env python3
"""Writes the release into DIST: NAME-VERSION-win64.zip, holding the exe and the
user guide, and SHA256SUMS for the zip and the exe.

    package.py NAME VERSION EXE GUIDE SOURCE_DIR DIST

The zip depends on nothing but its inputs: the entries in a fixed order, each
dated by the last commit (or SOURCE_DATE_EPOCH), with fixed attributes. The
guide is written with a byte order mark and CR LF line ends, for Notepad.
"""
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import time
import zipfile
import zlib

FILE_ATTRIBUTE_ARCHIVE = 0x20
UNICODE_PATH_FIELD = 0x7075


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


def main():
    name, version, exe, guide, source_dir, dist = sys.argv[1:7]
    date_time = time.gmtime(last_commit_time(source_dir))[:6]
    exe_name = name + ".exe"
    exe_data = open(exe, "rb").read()
    zip_name = f"{name}-{version}-win64.zip"
    shutil.rmtree(dist, ignore_errors=True)  # only this release, no older one
    os.makedirs(dist)
    with zipfile.ZipFile(os.path.join(dist, zip_name), "w") as archive:
        for entry, data in ((exe_name, exe_data), ("使用说明.txt", guide_bytes(guide))):
            archive.writestr(ZipEntry(entry, date_time), data, compresslevel=9)
    zip_data = open(os.path.join(dist, zip_name), "rb").read()
    # CR LF, so that Notepad shows two lines; sha256sum -c reads it as well.
    sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {entry}\r\n"
                   for entry, data in ((zip_name, zip_data), (exe_name, exe_data)))
    with open(os.path.join(dist, "SHA256SUMS"), "w", encoding="utf-8", newline="") as f:
        f.write(sums)
    print(sums.replace("\r\n", "\n"), end="")


if __name__ == "__main__":
    main()
