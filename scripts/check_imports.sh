#!/usr/bin/env bash
# Checks that a Windows executable can be loaded by Windows Vista: every
# function it imports is one that tools/vista_imports.txt lists as present
# there, and its header asks for no newer subsystem version than Vista's (6.0).
# Usage: check_imports.sh korbela.exe
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
exe="$1"
allowed="$ROOT/tools/vista_imports.txt"
dump="$(x86_64-w64-mingw32-objdump -p "$exe")"

imports="$(awk '/DLL Name:/ { dll = $3; next }
                dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print dll, $3 }' <<<"$dump" | sort -u)"
[ -n "$imports" ] || { echo "no imports read from $exe" >&2; exit 1; }
newer="$(comm -23 <(printf '%s\n' "$imports") <(grep -v '^#' "$allowed" | sort -u))"
if [ -n "$newer" ]; then
    echo "$exe imports functions not known to be in Windows Vista:" >&2
    sed 's/^/  /' <<<"$newer" >&2
    exit 1
fi

major="$(awk '/^MajorSubsystemVersion/ { print $2 }' <<<"$dump")"
minor="$(awk '/^MinorSubsystemVersion/ { print $2 }' <<<"$dump")"
[ -n "$major" ] && [ -n "$minor" ] || { echo "no subsystem version read from $exe" >&2; exit 1; }
if [ "$major" -gt 6 ] || { [ "$major" -eq 6 ] && [ "$minor" -gt 0 ]; }; then
    echo "$exe asks for subsystem version $major.$minor; Windows Vista loads up to 6.0" >&2
    exit 1
fi
echo "== $(wc -l <<<"$imports") imports of ${exe##*/}, all in Windows Vista; subsystem version $major.$minor"
