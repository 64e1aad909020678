#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only those missing.
set -euo pipefail
. "$(dirname "$0")/common.sh"

# Each for something the build or the tests use:
packages=(
    cmake make g++ libgtest-dev       # native build and suites (GoogleTest installed)
    clang libclang-rt-14-dev          # sanitizer suites, libFuzzer run; the clang build for Windows
    lld                               # linker of the clang build for Windows
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64  # Windows builds (windres, ar)
    googletest                        # GoogleTest's source, built by the Windows builds
    wine wine64 fonts-wine            # running them; Tahoma, the window's font
    xvfb x11-utils                    # a private display (Xvfb) and waiting for it (xdpyinfo)
    nsis fp-utils                     # the setup (makensis) and the manual (chmcmd)
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
