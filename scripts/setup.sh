#!/usr/bin/env bash
# Installs every Debian package that the README's commands need: scripts/run.sh,
# scripts/test.sh and scripts/release.sh, and nothing else. A script that needs
# more (coverage, valgrind, benchmarks) names its own packages as arguments:
#   scripts/setup.sh [EXTRA_PACKAGE...]
# Idempotent and non-interactive: packages already installed are left alone.
set -euo pipefail

packages=(
    g++ cmake ninja-build                          # the native build
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 xvfb fonts-wqy-microhei            # the program and its tests under Wine
    googletest python3
    imagemagick                                    # screenshots of the scaled window
    clang libclang-rt-14-dev                       # the fuzz targets (libFuzzer)
    git wixl msitools                              # the release: commit date, package
    osslsigncode openssl python3-jsonschema $(command -v npm >/dev/null || echo npm)  # signatures, bill of materials
    ghostscript poppler-utils                      # the printed page: PostScript to PDF, read back
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
