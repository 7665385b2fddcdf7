#!/usr/bin/env bash
# Builds the release: the exe optimised and stripped, in its own build folder
# (build/release, configured afresh), and dist/ with the versioned zip (the exe
# and 使用说明.txt) and SHA256SUMS. The same commit gives the same bytes,
# whoever builds it, wherever and whenever.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows -B build/release --fresh -DTAVOMED_RELEASE=ON >/dev/null
cmake --build build/release --target tavomed_release
