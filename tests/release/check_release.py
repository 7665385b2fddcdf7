#!/usr/bin/env python3
"""Builds the release (scripts/release.sh) in two clones of SOURCE, overlaid
with its working tree, one after the other, in different time zones, locales
and umasks, and in two folders of different names whose paths sort before and
after the toolchain's (/tmp and /var/tmp against /usr: ld orders the import
tables by library path). Checks that both give
the same bytes, that the zip holds just the exe and the guide (byte order mark,
CR LF), that SHA256SUMS matches, that the exe's imports and header pass
check_imports.py and check_header.py, and that the zipped exe's self-test runs
under Wine. Then the package, in a Wine prefix of its own: installed silently
(files, Start-menu shortcut, uninstall entry with its icon, the installed exe's
self-test), replaced by a later version, removed (nothing of it left, the
user's record log kept).

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
    sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {os.path.basename(name)}\r\n"
                   for name, data in ((zip_name, open(release["zip"], "rb").read()),
                                      (release["msi"], open(release["msi"], "rb").read()),
                                      (exe_name, exe)))
    if open(release["SHA256SUMS"], encoding="utf-8", newline="").read() != sums:
        failures.append("SHA256SUMS does not match the zip, the package and the exe:\n" + sums)
    return exe_name


def run_self_test(source, exe, folder, env, failures):
    code = subprocess.run([os.path.join(source, "scripts/wine-run.sh"), exe, "--selftest",
                           "report.txt"], cwd=folder, env=env).returncode
    report = open(os.path.join(folder, "report.txt"), "rb").read().decode("utf-8")
    lines = report.split("\r\n")
    if code != 0 or len(lines) != 7 or lines[-1] != "" or lines[-2] != "ERRORS|0":
        failures.append(f"self-test of {exe}: exit code {code}, report {report!r}")


def check_zipped_exe(source, objdump, release, exe_name, work, failures):
    unpacked = os.path.join(work, "unpacked")
    with zipfile.ZipFile(release["zip"], metadata_encoding="gbk") as archive:
        archive.extractall(unpacked)
    exe = os.path.join(unpacked, exe_name)
    for checker, what in (("check_imports.py", "imports"), ("check_header.py", "header")):
        arguments = [exe, objdump] if what == "imports" else [objdump, exe]
        if subprocess.run([sys.executable, os.path.join(source, "tests/app", checker),
                           *arguments]).returncode != 0:
            failures.append(f"{what} of the zipped exe (above)")
    run_self_test(source, exe, unpacked, os.environ, failures)
    return exe


class WinePrefix:
    """A prefix of its own for msiexec, and what the package leaves in it."""

    def __init__(self, source, folder):
        self.wine_run = os.path.join(source, "scripts/wine-run.sh")
        self.env = dict(os.environ, TAVOMED_WINEPREFIX=folder)
        self.drive = os.path.join(folder, "drive_c")

    def wine(self, *arguments):
        return subprocess.run([self.wine_run, *arguments], env=self.env, capture_output=True,
                              text=True).returncode

    def uninstall_entry(self, product_code, work):
        """The values of the product's key under Uninstall, or None."""
        exported = os.path.join(work, "uninstall.reg")
        key = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall" + "\\" + product_code
        if self.wine("reg", "export", key, exported, "/y") != 0:
            return None
        text = open(exported, "rb").read().decode("utf-16")
        return dict(re.findall(r'^"([^"]+)"="([^"]*)"', text, re.M))

    def found(self, pattern):
        return glob.glob(os.path.join(self.drive, pattern))

    def shortcuts(self, name):
        # Wine puts a per-machine shortcut in the user's Start menu, Windows in All Users'.
        return [path for menu in ("ProgramData", "users/*/AppData/Roaming") for path in
                self.found(f"{menu}/Microsoft/Windows/Start Menu/Programs/{name}.lnk")]


def msi_property(msi, name):
    table = subprocess.run(["msiinfo", "export", msi, "Property"], check=True,
                           capture_output=True, text=True).stdout
    return re.search(rf"^{name}\t([^\r\n]*)", table, re.M).group(1)


def check_installed(prefix, msi, exe, icon, work, failures):
    name, version = os.path.basename(exe)[:-4], msi_property(msi, "ProductVersion")
    installed = prefix.found(f"Program Files/TavoMed/{name}/*")
    if sorted(map(os.path.basename, installed)) != sorted([name + ".exe", GUIDE]) or \
            open(prefix.found(f"Program Files/TavoMed/{name}/{name}.exe")[0], "rb").read() != \
            open(exe, "rb").read():
        failures.append(f"{version} installed {installed}")
    if not prefix.shortcuts(name):
        failures.append(f"{version}: no Start-menu shortcut")
    product_code = msi_property(msi, "ProductCode")
    entry = prefix.uninstall_entry(product_code, work) or {}
    shown = {key: entry.get(key) for key in ("DisplayName", "DisplayVersion", "Publisher")}
    if shown != {"DisplayName": name, "DisplayVersion": version, "Publisher": "TavoMed"}:
        failures.append(f"{version}: uninstall entry {shown}")
    cached_icon = prefix.found(f"windows/Installer/{product_code}/*.ico")
    if len(cached_icon) != 1 or open(cached_icon[0], "rb").read() != open(icon, "rb").read():
        failures.append(f"{version}: the entry's icon is {cached_icon}")
    return product_code


def check_installer(source, release, exe, work, failures):
    sys.path.insert(0, os.path.join(source, "release"))
    import package
    prefix = WinePrefix(source, os.path.join(work, "wine-msi"))
    icon = os.path.join(source, "resources/tavomed.ico")
    msi = release["msi"]
    if prefix.wine("msiexec", "/i", msi, "/qn") != 0:
        failures.append("msiexec /i failed")
        return
    first_code = check_installed(prefix, msi, exe, icon, work, failures)
    run_self_test(source, prefix.found("Program Files/TavoMed/*/*.exe")[0], work, prefix.env, failures)
    major, minor, patch = msi_property(msi, "ProductVersion").split(".")
    later = os.path.join(work, "later.msi")
    guide = open(prefix.found(f"Program Files/TavoMed/*/{GUIDE}")[0], "rb").read()
    package.write_installer(os.path.basename(exe)[:-4], f"{major}.{minor}.{int(patch) + 1}", exe,
                            guide, icon, 0, later)
    if prefix.wine("msiexec", "/i", later, "/qn") != 0:
        failures.append("msiexec /i of a later version failed")
    check_installed(prefix, later, exe, icon, work, failures)
    if prefix.uninstall_entry(first_code, work) is not None:
        failures.append("the later version left the earlier one installed")
    records = prefix.found("users/*/AppData/Local")[0] + "/TavoMedSuite/records/T187.csv"
    os.makedirs(os.path.dirname(records))
    open(records, "w").write("时间,工具\r\n")
    if prefix.wine("msiexec", "/x", later, "/qn") != 0:
        failures.append("msiexec /x failed")
    left = prefix.found("Program Files/TavoMed") + prefix.shortcuts(os.path.basename(exe)[:-4])
    if left or prefix.uninstall_entry(msi_property(later, "ProductCode"), work) is not None:
        failures.append(f"msiexec /x left {left} or the uninstall entry")
    if not os.path.exists(records):
        failures.append("msiexec /x removed the user's record log")


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
        exe = check_zipped_exe(source, objdump, releases[0], exe_name, work, failures)
        check_installer(source, releases[0], exe, work, failures)
    for failure in failures:
        print("FAIL:", failure)
    print("release:", "bad" if failures else "ok")
    if not failures:
        for release in releases:
            shutil.rmtree(release["top"])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
