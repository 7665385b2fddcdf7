#!/usr/bin/env bash
# Installs every Debian package that the build and the tests need. Idempotent and
# non-interactive: packages already installed are left alone.
set -euo pipefail

packages=(
    g++ cmake ninja-build
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 xvfb x11-utils
    fonts-wqy-microhei
    googletest
    imagemagick
    python3
    clang libclang-rt-14-dev gcovr valgrind
    libbenchmark-dev libmuparser-dev hyperfine
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
