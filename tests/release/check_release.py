#!/usr/bin/env python3
"""Builds the release (scripts/release.sh) in two clones of SOURCE, overlaid
with its working tree, one after the other, in different time zones, locales
and umasks, and in two folders of different names whose paths sort before and
after the toolchain's (/tmp and /var/tmp against /usr: ld orders the import
tables by library path). Checks that both give
the same bytes, that the zip holds just the exe and the guide (byte order mark,
CR LF), that SHA256SUMS matches, that the exe's imports pass check_imports.py,
that the zipped exe's self-test runs under Wine, and that msiexec installs the
package (files, shortcut, uninstall entry, a self-test) and removes it all.

    check_release.py SOURCE WORK OBJDUMP
"""
import glob
import hashlib
import re
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

GUIDE = "使用说明.txt"
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
BUILDS = (("/tmp", "a", {"TZ": "UTC0", "LC_ALL": "C.UTF-8"}, 0o022),
          ("/var/tmp", "second-release-", {"TZ": "CST-8", "LC_ALL": "C"}, 0o002))


def clone_working_tree(source, folder):
    subprocess.run(["git", "clone", "-q", source, folder], check=True)
    tracked = subprocess.run(["git", "-C", source, "ls-files", "-z"], check=True,
                             capture_output=True, text=True).stdout.split("\0")
    for path in filter(None, tracked):
        target = os.path.join(folder, path)
        if os.path.isfile(os.path.join(source, path)):
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy2(os.path.join(source, path), target)
        elif os.path.exists(target):
            os.remove(target)


def build_release(source, work, root, prefix, env, umask):
    top = tempfile.mkdtemp(prefix=prefix, dir=root)
    folder = os.path.join(top, "tavomed")
    clone_working_tree(source, folder)
    log = os.path.join(work, prefix + "build.log")
    old_umask = os.umask(umask)
    with open(log, "w") as out:
        done = subprocess.run(["bash", "scripts/release.sh"], cwd=folder, stdout=out,
                              stderr=subprocess.STDOUT, env=dict(os.environ, **env))
    os.umask(old_umask)
    if done.returncode != 0:
        sys.exit(f"release build in {folder} failed:\n" + open(log).read()[-3000:])
    release = {kind: glob.glob(os.path.join(folder, pattern)) for kind, pattern in
               (("exe", "build/release/app/*.exe"), ("zip", "dist/*-win64.zip"),
                ("msi", "dist/*-x64.msi"), ("SHA256SUMS", "dist/SHA256SUMS"))}
    if any(len(paths) != 1 for paths in release.values()):
        sys.exit(f"release build in {folder} left {release}")
    return dict({kind: paths[0] for kind, paths in release.items()}, top=top)


def differing_bytes(a, b):
    return sum(x != y for x, y in zip(a, b)) + abs(len(a) - len(b))


def file_version(exe_data):
    """major.minor.patch from the version resource's VS_FIXEDFILEINFO."""
    at = exe_data.find(struct.pack("<I", 0xFEEF04BD))
    high, low = struct.unpack_from("<II", exe_data, at + 8)
    return f"{high >> 16}.{high & 0xFFFF}.{low >> 16}"


def check_package(release, failures):
    zip_name = os.path.basename(release["zip"])
    with zipfile.ZipFile(release["zip"], metadata_encoding="gbk") as archive:
        names = archive.namelist()
        exe_name = next((n for n in names if n.endswith(".exe")), "")
        entries = {name: archive.read(name) for name in names}
    if sorted(names) != sorted([exe_name, GUIDE]):
        failures.append(f"zip holds {names}")
        return None
    exe, guide = entries[exe_name], entries[GUIDE]
    if exe != open(release["exe"], "rb").read():
        failures.append(f"the zipped {exe_name} is not the built one")
    if zip_name != f"{exe_name[:-4]}-{file_version(exe)}-win64.zip":
        failures.append(f"zip {zip_name} is not named for {exe_name} and its version")
    if not guide.startswith(b"\xef\xbb\xbf") or b"\n" in guide.replace(b"\r\n", b"") \
            or b"\r" in guide.replace(b"\r\n", b""):
        failures.append(f"{GUIDE} lacks the byte order mark or has line ends other than CR LF")
    guide.decode("utf-8")
    sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\r\n" for name, data in
                   ((zip_name, open(release["zip"], "rb").read()), (os.path.basename(
                       release["msi"]), open(release["msi"], "rb").read()), (exe_name, exe)))
    if open(release["SHA256SUMS"], encoding="utf-8", newline="").read() != sums:
        failures.append("SHA256SUMS does not match the zip and the exe:\n" + sums)
    return exe_name


def run_self_test(source, objdump, release, exe_name, work, failures):
    unpacked = os.path.join(work, "unpacked")
    with zipfile.ZipFile(release["zip"], metadata_encoding="gbk") as archive:
        archive.extractall(unpacked)
    exe = os.path.join(unpacked, exe_name)
    checker = os.path.join(source, "tests/app/check_imports.py")
    if subprocess.run([sys.executable, checker, exe, objdump]).returncode != 0:
        failures.append("imports of the zipped exe (above)")
    code = subprocess.run([os.path.join(source, "scripts/wine-run.sh"), exe, "--selftest",
                           "report.txt"], cwd=unpacked).returncode
    report = open(os.path.join(unpacked, "report.txt"), "rb").read().decode("utf-8")
    lines = report.split("\r\n")
    if code != 0 or len(lines) != 7 or lines[-1] != "" or lines[-2] != "ERRORS|0":
        failures.append(f"self-test of the zipped exe: exit code {code}, report {report!r}")
    return exe


def installed(wine_run, prefix, name):
    """The names of what the package left in the prefix (Wine puts a per-machine
    shortcut in the user's Start menu) and the program's uninstall entries."""
    found = [os.path.basename(path) for pattern in (
        "Program Files/TavoMed", "Program Files/TavoMed/*/*", "windows/Installer/*/*.ico",
        f"users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/{name}.lnk")
        for path in glob.glob(os.path.join(prefix, "drive_c", pattern))]
    exported = os.path.join(prefix, "uninstall.reg")
    subprocess.run([wine_run, "reg", "export", UNINSTALL, exported, "/y"], check=True,
                   env=dict(os.environ, TAVOMED_WINEPREFIX=prefix), capture_output=True)
    keys = open(exported, "rb").read().decode("utf-16").split("\r\n\r\n")
    return sorted(found), [dict(re.findall(r'^"(DisplayName|DisplayVersion|Publisher)"="(.*)"', key, re.M))
                           for key in keys if f'"DisplayName"="{name}"' in key]


def check_installer(wine_run, msi, exe, work, failures):
    prefix, name = os.path.join(work, "wine-msi"), os.path.basename(exe)[:-4]
    program = os.path.join(prefix, "drive_c/Program Files/TavoMed", name, name + ".exe")
    entry = {"DisplayName": name, "DisplayVersion": file_version(open(exe, "rb").read()),
             "Publisher": "TavoMed"}
    files = sorted(["TavoMed", name + ".exe", GUIDE, "tavomed.ico", name + ".lnk"])
    env = dict(os.environ, TAVOMED_WINEPREFIX=prefix)
    for action, expected in (("/i", (files, [entry])), ("/x", ([], []))):
        code = subprocess.run([wine_run, "msiexec", action, msi, "/qn"], env=env).returncode
        if code != 0 or installed(wine_run, prefix, name) != expected or action == "/i" and (
                open(program, "rb").read() != open(exe, "rb").read() or subprocess.run(
                    [wine_run, program, "--selftest", os.path.join(work, "installed.txt")],
                    env=env).returncode != 0):
            failures.append(f"msiexec {action}: exit code {code}, then {installed(wine_run, prefix, name)}")


def main():
    source, work, objdump = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    releases = [build_release(source, work, *build) for build in BUILDS]
    failures = []
    for kind in ("exe", "zip", "msi", "SHA256SUMS"):
        a, b = (open(release[kind], "rb").read() for release in releases)
        if a != b:
            failures.append(f"{kind} differs between the builds: {differing_bytes(a, b)} bytes")
    for release in releases:
        print(f"{release['top']}:\n" + open(release["SHA256SUMS"], encoding="utf-8").read(), end="")
    exe_name = check_package(releases[0], failures)
    if exe_name:
        exe = run_self_test(source, objdump, releases[0], exe_name, work, failures)
        check_installer(os.path.join(source, "scripts/wine-run.sh"), releases[0]["msi"], exe, work,
                        failures)
    for failure in failures:
        print("FAIL:", failure)
    print("release:", "bad" if failures else "ok")
    if not failures:
        for release in releases:
            shutil.rmtree(release["top"])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
