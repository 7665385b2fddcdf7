#!/usr/bin/env python3
"""Runs the record test programs under Wine and reads what they wrote with
Python's csv module, a reader that is not the program's own.

  check_record_file.py stress <wine runner> <append_stress exe> <work dir> <count>
  check_record_file.py sample <wine runner> <write_sample exe> <work dir>
  check_record_file.py sample-over-empty <wine runner> <write_sample exe> <work dir>
  check_record_file.py sample-after-last-lines <wine runner> <write_sample exe> <work dir>
  check_record_file.py small-disk <wine runner> <e2e_tests exe> <artifact dir>
  check_record_file.py unmount-small-disk <wine runner>

small-disk mounts a tmpfs of 32 KiB on the records folder of the Wine prefix
(root only; exit code 77, skipped, where that cannot be done), runs the
end-to-end test that fills it, unmounts it in every case and reads the record
file the test left with the csv module.
"""
import csv
import io
import os
import pwd
import re
import shutil
import subprocess
import sys
import time

BOM = b"\xef\xbb\xbf"
HEADER = ["时间", "工具", "护士人数", "排班天数", "结果"]
TOOL_NAME = "护理排班表生成"
TIMESTAMP = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d$")
SKIPPED = 77
SMALL_DISK_TEST = "RecordLogTest.FullDiskLeavesTheFileAsItWasAndTheNextSaveAppendsWhole"
# A record whose last line was edited by hand, before each way that line may end.
EDITED = "2026-12-01 08:00:00,护理排班表生成,护士人数=8,排班天数=7,手工编辑的记录"
EDITED_ENDINGS = {"no line end": b"", "a lone CR": b"\r", "LF": b"\n"}


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def fresh_dir(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def read_records(path):
    """The file's rows as the csv module reads them, after checking the bytes
    that a reader does not show: one BOM at the start, CR LF at the end."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(BOM):
        fail("file does not start with EF BB BF")
    if data.count(BOM) != 1:
        fail("%d byte order marks in the file" % data.count(BOM))
    if not data.endswith(b"\r\n"):
        fail("file does not end with CR LF")
    try:
        text = data[len(BOM):].decode("utf-8")
    except UnicodeDecodeError as error:
        fail("torn UTF-8 in the file: %s" % error)
    rows = list(csv.reader(io.StringIO(text, newline=""), strict=True))
    if not rows or rows[0] != HEADER:
        fail("first row is not the header: %r" % (rows[:1],))
    if sum(1 for row in rows if row == HEADER) != 1:
        fail("more than one header row")
    for number, row in enumerate(rows[1:], 1):
        if len(row) != len(HEADER):
            fail("record %d has %d fields, not %d: %r" % (number, len(row), len(HEADER), row))
        if not TIMESTAMP.match(row[0]) or row[1] != TOOL_NAME:
            fail("record %d does not start with a timestamp and the tool: %r" % (number, row[:2]))
    return rows[1:]


def run_stress(runner, exe, work, count):
    fresh_dir(work)
    record_file = os.path.join(work, "T187.csv")
    gate = os.path.join(work, "go")
    runs = [subprocess.Popen([runner, exe, wine_path(record_file), str(count), tag, wine_path(gate)])
            for tag in ("A", "B")]
    deadline = time.monotonic() + 60
    while not all(os.path.exists(gate + "." + tag) for tag in ("A", "B")):
        if time.monotonic() > deadline:
            fail("the append runs never came up")
        time.sleep(0.05)
    open(gate, "w").close()
    codes = [run.wait(timeout=600) for run in runs]
    if codes != [0, 0]:
        fail("append runs ended with %r" % codes)
    records = read_records(record_file)
    if len(records) != 2 * count:
        fail("%d records, not %d" % (len(records), 2 * count))
    seen = set()
    for row in records:
        if row[2:4] != ["护士人数=8", "排班天数=7"]:
            fail("parameter cells torn: %r" % row[2:4])
        found = re.match(r"^进程 ([AB]) 第 (\d{3}) 条\r\n规则：白班 D, 夜班 N, 休息 R，\"连续夜班\"不超过 2 个\r\n班+$",
                         row[4])
        if not found:
            fail("result cell torn: %r" % row[4])
        seen.add((found.group(1), int(found.group(2))))
    expected = {(tag, i) for tag in ("A", "B") for i in range(count)}
    if seen != expected:
        fail("records missing or doubled: %d distinct of %d" % (len(seen), len(expected)))
    print("one BOM, one header, %d whole records from two processes" % len(records))


def run_sample(runner, exe, work, existing=None):
    """existing: the file's bytes before the saves (b"": emptied by another
    program, started as new); its records come first, as they were."""
    fresh_dir(work)
    record_file = os.path.join(work, "T187.csv")
    expected_file = os.path.join(work, "expected.txt")
    if existing is not None:
        with open(record_file, "wb") as f:
            f.write(existing)
    code = subprocess.call([runner, exe, wine_path(record_file), wine_path(expected_file)])
    if code != 0:
        fail("write_sample ended with %d" % code)
    with open(expected_file, encoding="utf-8", newline="") as f:
        saves = [entry.split("\x1f") for entry in f.read().split("\x1e")[:-1]]
    records = read_records(record_file)
    kept = list(csv.reader(io.StringIO((existing or b"").decode("utf-8-sig"), newline="")))[1:]
    if records[:len(kept)] != kept:
        fail("the old records became %r" % records[:len(kept)])
    records = records[len(kept):]
    if len(records) != len(saves):
        fail("%d records for %d saves" % (len(records), len(saves)))
    for number, (row, (nurses, days, report)) in enumerate(zip(records, saves), 1):
        cells = ["护士人数=%g" % float(nurses), "排班天数=%g" % float(days)]
        if row[2:4] != cells:
            fail("record %d parameters %r, not %r" % (number, row[2:4], cells))
        if row[4] != report:
            fail("record %d result %r, not %r" % (number, row[4], report))
    print("%d records read back by the csv module, each as saved" % len(records))


def small_disk_folder(runner):
    prefix = os.environ.get("TAVOMED_WINEPREFIX") or os.path.join(
        os.path.dirname(os.path.abspath(runner)), "..", "build", "wine")
    user = pwd.getpwuid(os.getuid()).pw_name
    return os.path.join(os.path.abspath(prefix), "drive_c", "users", user, "AppData", "Local",
                        "TavoMedSuite", "records")


def unmount_small_disk(runner):
    folder = small_disk_folder(runner)
    if os.path.ismount(folder) and subprocess.call(["umount", folder]) != 0:
        subprocess.call(["umount", "-l", folder])
    if os.path.ismount(folder):
        fail("%s is still mounted" % folder)


def skip(message):
    print("SKIPPED: " + message)
    sys.exit(SKIPPED)


def run_small_disk(runner, e2e_exe, artifacts):
    if os.geteuid() != 0:
        skip("mounting the small file system needs root")
    folder = small_disk_folder(runner)
    os.makedirs(folder, exist_ok=True)
    unmount_small_disk(runner)
    if subprocess.call(["mount", "-t", "tmpfs", "-o", "size=32k", "tavomed-small-disk",
                        folder]) != 0:
        skip("cannot mount a tmpfs on " + folder)
    # The test leaves its copy of the record file only when it ran to its end.
    record_copy = os.path.join(artifacts, "records-small-disk.csv")
    if os.path.exists(record_copy):
        os.remove(record_copy)
    try:
        code = subprocess.call([runner, e2e_exe, "--gtest_filter=" + SMALL_DISK_TEST])
    finally:
        unmount_small_disk(runner)
    if code != 0 or not os.path.exists(record_copy):
        fail("the small-disk test did not run and pass (exit code %d)" % code)
    records = read_records(record_copy)
    if len(records) < 3:
        fail("%d records, not the first, its copies and the one after the full disk" % len(records))
    print("%d whole records read back after a save on a full disk" % len(records))


def main():
    mode = sys.argv[1]
    if mode == "stress":
        run_stress(sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5]))
    elif mode == "sample":
        run_sample(sys.argv[2], sys.argv[3], sys.argv[4])
    elif mode == "sample-over-empty":
        run_sample(sys.argv[2], sys.argv[3], sys.argv[4], existing=b"")
    elif mode == "sample-after-last-lines":
        for name, ending in EDITED_ENDINGS.items():
            print("last line ending in %s:" % name)
            lines = ",".join(HEADER) + "\r\n" + EDITED
            run_sample(sys.argv[2], sys.argv[3], sys.argv[4], BOM + lines.encode() + ending)
    elif mode == "small-disk":
        run_small_disk(sys.argv[2], sys.argv[3], sys.argv[4])
    elif mode == "unmount-small-disk":
        unmount_small_disk(sys.argv[2])
    else:
        fail("unknown mode " + mode)


if __name__ == "__main__":
    main()
