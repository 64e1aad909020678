#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only those missing.
set -euo pipefail
. "$(dirname "$0")/common.sh"

packages=(
    cmake make g++ clang lld libclang-rt-14-dev libgtest-dev libgmock-dev googletest
    g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    wine wine64 fonts-wine xvfb xauth x11-utils imagemagick xdotool
    nsis fp-utils python3
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    log "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
