#!/usr/bin/env python3
"""Builds the release (scripts/release.sh) in three clones of SOURCE, overlaid
with its working tree, one after the other, in different time zones, locales
and umasks, and in two folders of different names whose paths sort before and
after the toolchain's (/tmp and /var/tmp against /usr: ld orders the import
tables by library path): unsigned, signed with a throwaway certificate, and
with the signed one's signatures attached, which must give the same bytes.
Checks that osslsigncode verifies the signatures, that swapped ones stop the
release, that the zip holds just the exe and the guide (byte order mark,
CR LF), that sha256sum -c SHA256SUMS passes, that the bill of materials is
valid and complete, that the exe's imports pass check_imports.py,
that the zipped exe's self-test runs under Wine, and that msiexec installs the
package (files, shortcut, uninstall entry, a self-test) and removes it all.

    check_release.py SOURCE WORK OBJDUMP SCHEMAS
"""
import glob
import hashlib
import json
import re
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

import jsonschema

GUIDE = "使用说明.txt"
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
SCHEMA_BASE = "http://cyclonedx.org/schema/"
SIGNER = ("req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj /CN=Throwaway-CA",
          "req -x509 -CA ca.pem -CAkey ca.key -newkey rsa:2048 -nodes -keyout signer.key -out signer.pem "
          "-days 2 -subj /CN=TavoMed-test-signer -addext basicConstraints=CA:FALSE "
          "-addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=codeSigning",
          "pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -passout file:password "
          "-out signer.p12")


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
                ("msi", "dist/*-x64.msi"), ("SHA256SUMS", "dist/SHA256SUMS"),
                ("bom", "dist/*.cdx.json"), ("map", "build/release/release/*.map"))}
    if any(len(paths) != 1 for paths in release.values()):
        sys.exit(f"release build in {folder} left {release}")
    return dict({kind: paths[0] for kind, paths in release.items()}, top=top, folder=folder,
                dist=os.path.join(folder, "dist"))


def make_signer(work):
    """A throwaway CA and a code-signing certificate of it, as the release's variables."""
    open(os.path.join(work, "password"), "w").write("throwaway\n")
    for command in SIGNER:
        subprocess.run(["openssl"] + command.split(), cwd=work, check=True, capture_output=True)
    return {"RELEASE_SIGN_PKCS12": os.path.join(work, "signer.p12"),
            "RELEASE_SIGN_PASSWORD_FILE": os.path.join(work, "password")}


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
    if exe != open(os.path.join(release["dist"], exe_name), "rb").read():
        failures.append(f"the zipped {exe_name} is not the one in dist/")
    if zip_name != f"{exe_name[:-4]}-{file_version(exe)}-win64.zip":
        failures.append(f"zip {zip_name} is not named for {exe_name} and its version")
    if not guide.startswith(b"\xef\xbb\xbf") or b"\n" in guide.replace(b"\r\n", b"") \
            or b"\r" in guide.replace(b"\r\n", b""):
        failures.append(f"{GUIDE} lacks the byte order mark or has line ends other than CR LF")
    guide.decode("utf-8")
    sums = open(release["SHA256SUMS"], encoding="utf-8", newline="").read()
    checked = subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=release["dist"], capture_output=True,
                             text=True)
    if checked.returncode != 0 or sorted(line.split("  ", 1)[1] for line in sums.split("\r\n")[:-1]) != \
            sorted(set(os.listdir(release["dist"])) - {"SHA256SUMS"}):
        failures.append(f"SHA256SUMS does not stand for the files beside it:\n{sums}{checked.stdout}")
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


def check_bill_of_materials(release, objdump, schemas, failures):
    """Valid, with the hashes of dist/, and with a Debian package behind every file
    that the link map shows in the exe's sections and every DLL's import library."""
    store = {SCHEMA_BASE + entry: json.load(open(os.path.join(schemas, entry)))
             for entry in os.listdir(schemas) if entry.endswith(".schema.json")}
    schema = store[SCHEMA_BASE + "bom-1.5.SNAPSHOT.schema.json"]
    bom = json.load(open(release["bom"], encoding="utf-8"))
    failures += ["bill of materials: " + error.message for error in jsonschema.Draft7Validator(
        schema, resolver=jsonschema.RefResolver(schema["$id"], schema, store=store)).iter_errors(bom)]
    files = {c["name"]: c["hashes"][0]["content"] for c in bom["components"] if c["type"] == "file"}
    libraries = [c for c in bom["components"] if c["type"] == "library" and c["version"]
                 and c["purl"].startswith("pkg:deb/debian/")]
    located = {os.path.basename(o["location"]) for c in libraries for o in c["evidence"]["occurrences"]}
    sections = re.sub(r"^LOAD .*", "", open(release["map"], encoding="utf-8", errors="replace").read(), flags=re.M)
    imports = subprocess.run([objdump, "-p", release["exe"]], capture_output=True, text=True).stdout
    shown = set(re.findall(r"/usr/\S*/([^/\s(]+\.[ao])\b", sections)) | {
        f"lib{dll.lower()}.a" for dll in re.findall(r"DLL Name: (\S+)\.dll", imports, re.I)}
    if len(shown) < 10 or shown - located or len(files) != 3 or any(hashlib.sha256(open(os.path.join(
            release["dist"], name), "rb").read()).hexdigest() != sha256 for name, sha256 in files.items()):
        failures.append(f"bill of materials: {sorted(files)}, no package for {sorted(shown - located)}")
    print("bill of materials:", ", ".join(f"{c['name']} {c['version']}" for c in libraries))


def check_signatures(signed, attached, ca, work, failures):
    """osslsigncode verifies the signed files; the exe's and the package's signatures
    swapped stop the release, which says so and leaves dist/ as it was."""
    for kind in ("exe", "msi"):
        done = subprocess.run(["osslsigncode", "verify", "-CAfile", ca, "-in", os.path.join(
            signed["dist"], os.path.basename(signed[kind]))], capture_output=True, text=True)
        print(f"osslsigncode verify {os.path.basename(signed[kind])}:\n{done.stdout}{done.stderr}")
        failures += [f"osslsigncode verify of the signed {kind} (above)"] if done.returncode else []
    swapped, dist = tempfile.mkdtemp(dir=work), attached["dist"]
    signatures = sorted(glob.glob(os.path.join(dist, "*.sig")))
    for source, target in zip(signatures, reversed(signatures)):
        shutil.copyfile(source, os.path.join(swapped, os.path.basename(target)))
    before = [open(path, "rb").read() for path in sorted(glob.glob(os.path.join(dist, "*")))]
    done = subprocess.run(["bash", "scripts/release.sh"], cwd=attached["folder"], capture_output=True,
                          text=True, env=dict(os.environ, RELEASE_SIGNATURES=swapped))
    if f"release: attaching {os.path.basename(attached['exe'])}.sig failed" not in done.stdout or \
            before != [open(path, "rb").read() for path in sorted(glob.glob(os.path.join(dist, "*")))]:
        failures.append(f"swapped signatures: exit code {done.returncode}, {done.stdout[-2000:]}")


def main():
    source, work, objdump, schemas = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    unsigned = build_release(source, work, "/tmp", "a", {"TZ": "UTC0", "LC_ALL": "C.UTF-8"}, 0o022)
    signed = build_release(source, work, "/var/tmp", "second-release-",
                           dict(make_signer(work), TZ="CST-8", LC_ALL="C"), 0o002)
    attached = build_release(source, work, "/tmp", "third-", {
        "TZ": "UTC0", "LC_ALL": "C.UTF-8", "RELEASE_SIGNATURES": signed["dist"]}, 0o022)
    releases = (unsigned, signed, attached)
    failures = []
    for a, b in [(unsigned["exe"], release["exe"]) for release in (signed, attached)] + [
            (unsigned["exe"], os.path.join(unsigned["dist"], os.path.basename(unsigned["exe"])))] + [
            (os.path.join(signed["dist"], entry), os.path.join(attached["dist"], entry))
            for entry in os.listdir(signed["dist"])]:
        a_data, b_data = open(a, "rb").read(), open(b, "rb").read()
        if a_data != b_data:
            failures.append(f"{a} and {b} differ: {differing_bytes(a_data, b_data)} bytes")
    for release in releases:
        print(f"{release['top']}:\n" + open(release["SHA256SUMS"], encoding="utf-8").read(), end="")
    check_signatures(signed, attached, os.path.join(work, "ca.pem"), work, failures)
    for release in (unsigned, signed):
        exe_name = check_package(release, failures)
        check_bill_of_materials(release, objdump, schemas, failures)
    if exe_name:
        exe = run_self_test(source, objdump, signed, exe_name, work, failures)
        check_installer(os.path.join(source, "scripts/wine-run.sh"), signed["msi"], exe, work, failures)
    for failure in failures:
        print("FAIL:", failure)
    print("release:", "bad" if failures else "ok")
    if not failures:
        for release in releases:
            shutil.rmtree(release["top"])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
