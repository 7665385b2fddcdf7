#!/usr/bin/env bash
# Builds the release: the exe optimised and stripped, in its own build folder
# (build/release, configured afresh), and dist/ with the exe, the versioned zip
# (the exe and 使用说明.txt), the Windows Installer package, the bill of materials
# and SHA256SUMS. The same commit gives the same bytes, whoever builds it,
# wherever and whenever. Signed when a certificate is given (RELEASE_SIGN_PKCS12,
# RELEASE_SIGN_PASSWORD_FILE, optionally RELEASE_SIGN_TIMESTAMP_URL), or with the
# signatures of a signed release attached (RELEASE_SIGNATURES): release/signature.py.
set -euo pipefail
# Paths given relative to where this was started, before the build moves away from it.
for variable in RELEASE_SIGN_PKCS12 RELEASE_SIGN_PASSWORD_FILE RELEASE_SIGNATURES; do
    [ -z "${!variable:-}" ] || export "$variable=$(realpath -m -- "${!variable}")"
done
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows -B build/release --fresh -DTAVOMED_RELEASE=ON >/dev/null
cmake --build build/release --target tavomed_release
