"""The release's bill of materials, CycloneDX 1.5 JSON.

The program is the main component; the exe, the zip and the package are listed
with their SHA-256, and every library linked into the exe, as the link map shows
it, with the headers it was compiled against, as a component named for what it
is, with the version and package URL of the Debian package it came from. The
Debian packages of the tools that built the release stand under metadata.tools.
Like the rest of the release it depends on nothing but its inputs: it is dated
by the commit and its serial number comes from the hashes of the files.
"""
import collections
import json
import os
import re
import subprocess
import sys
import time
import urllib.parse
import uuid

Program = collections.namedtuple("Program", "name version publisher description url")
Package = collections.namedtuple("Package", "name version architecture")

# Files that the link takes from a library of its own; any other file belongs to
# the component of its Debian package (PACKAGE_COMPONENTS).
LIBRARY_FILES = {
    "libgcc.a": "libgcc", "libgcc_eh.a": "libgcc", "crtbegin.o": "libgcc", "crtend.o": "libgcc",
    "libstdc++.a": "libstdc++",
    "libssp.a": "libssp", "libssp_nonshared.a": "libssp",
    "libpthread.a": "winpthreads", "libwinpthread.a": "winpthreads",
}
PACKAGE_COMPONENTS = {
    "mingw-w64-x86-64-dev": "mingw-w64-crt",
    "mingw-w64-common": "mingw-w64-headers",
}
DESCRIPTIONS = {
    "mingw-w64-crt": "MinGW-w64 runtime: start-up code, C library functions and the import "
                     "libraries of the Windows DLLs",
    "mingw-w64-headers": "MinGW-w64 headers of the Windows API and the C runtime",
    "libgcc": "GCC's support library: arithmetic helpers, exception unwinding",
    "libstdc++": "GCC's C++ standard library",
    "libssp": "GCC's stack protector: the canary check",
    "winpthreads": "MinGW-w64 POSIX threads library, GCC's thread model",
}
# The header that every Win32 program includes: its folder is the headers' evidence.
WINDOWS_HEADER = "windows.h"


def query(command):
    done = subprocess.run(command, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"release: {' '.join(command)} failed:\n{done.stderr}")
    return done.stdout


def package_of(path):
    """The Debian package that installed PATH."""
    owner = query(["dpkg-query", "-S", path]).split(": ")[0].split(", ")[0].split(":")[0]
    version, architecture = query(["dpkg-query", "-W", "-f", "${Version} ${Architecture}", owner]).split()
    return Package(owner, version, architecture)


def package_url(package):
    quote = lambda text: urllib.parse.quote(text, safe="")
    return f"pkg:deb/debian/{quote(package.name)}@{quote(package.version)}?arch={package.architecture}"


def linked_files(link_map):
    """The files from outside the build tree that went into the exe: every archive
    that gave it a member, and the objects loaded whole (start-up code)."""
    text = open(link_map, encoding="utf-8", errors="replace").read()
    paths = re.findall(r"^(/\S+?\.a)\(", text, re.M) + re.findall(r"^LOAD (/\S+\.o)$", text, re.M)
    return sorted({os.path.realpath(path) for path in paths})


def header_folders(include_dirs):
    return [os.path.dirname(os.path.realpath(os.path.join(folder, WINDOWS_HEADER)))
            for folder in include_dirs if os.path.isfile(os.path.join(folder, WINDOWS_HEADER))]


def components_of(paths):
    """Component name to (its package, the paths of it), for each path."""
    components = {}
    for path in paths:
        package = package_of(os.path.join(path, WINDOWS_HEADER) if os.path.isdir(path) else path)
        name = LIBRARY_FILES.get(os.path.basename(path), PACKAGE_COMPONENTS.get(package.name))
        if name is None:
            sys.exit(f"release: the exe takes {path} from the Debian package {package.name}, which "
                     f"the bill of materials has no component for; name it in {__file__}")
        components.setdefault(name, (package, []))[1].append(path)
    return components


def library(name, package, paths):
    return {"type": "library", "bom-ref": name, "supplier": {"name": "Debian"}, "name": name,
            "version": package.version, "description": DESCRIPTIONS[name], "purl": package_url(package),
            "evidence": {"occurrences": [{"location": path} for path in paths]}}


def tool(package):
    return {"type": "application", "bom-ref": "tool:" + package.name, "name": package.name,
            "version": package.version, "purl": package_url(package)}


def write(path, program, seconds, files, link_map, include_dirs, tools):
    """Writes the bill of materials of PROGRAM to PATH: FILES maps the release's
    files to their SHA-256; TOOLS are the programs that built them."""
    components = components_of(linked_files(link_map) + header_folders(include_dirs))
    serial = uuid.uuid5(uuid.NAMESPACE_URL, program.url + " " + " ".join(sorted(files.values())))
    bom = {
        "bomFormat": "CycloneDX", "specVersion": "1.5", "serialNumber": f"urn:uuid:{serial}", "version": 1,
        "metadata": {
            "timestamp": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(seconds)),
            "tools": {"components": [tool(package) for package in
                                     sorted({package_of(os.path.realpath(p)) for p in tools})]},
            "component": {"type": "application", "bom-ref": program.name, "supplier": {"name": program.publisher},
                          "publisher": program.publisher, "name": program.name, "version": program.version,
                          "description": program.description,
                          "externalReferences": [{"type": "website", "url": program.url}]},
        },
        "components": [{"type": "file", "bom-ref": entry, "name": entry, "version": program.version,
                        "hashes": [{"alg": "SHA-256", "content": sha256}]} for entry, sha256 in files.items()]
                      + [library(name, *components[name]) for name in sorted(components)],
        "dependencies": [{"ref": program.name, "dependsOn": sorted(components)}]
                        + [{"ref": name, "dependsOn": []} for name in sorted(components)],
    }
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(json.dumps(bom, ensure_ascii=False, indent=2) + "\n")
