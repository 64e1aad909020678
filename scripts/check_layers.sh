#!/usr/bin/env bash
# Includes only go down. The subsystems, the same in core/ and win32/, form
# layers from the top down:
#   app  >  form  >  tray  >  dialog  >  widgets  >  window  >  system
# (window/ is in win32/ only). A file may include its own layer and those
# below it, never one above; core/ never includes win32/. win32/res/ holds the
# resources, which every layer may name. Prints each upward include and fails
# when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(app form tray dialog widgets window system)
rank() {
    local i
    for i in "${!layers[@]}"; do
        if [ "${layers[$i]}" = "$1" ]; then echo "$i"; return; fi
    done
    echo -1
}

status=0
while IFS= read -r file; do
    tree="${file%%/*}"
    rest="${file#*/}"
    layer="${rest%%/*}"
    own="$(rank "$layer")"
    if [ "$own" -lt 0 ]; then
        echo "$file: in no layer (${layers[*]})"
        status=1
        continue
    fi
    while IFS= read -r included; do
        itree="${included%%/*}"
        irest="${included#*/}"
        ilayer="${irest%%/*}"
        [ "$itree" = win32 ] && [ "$ilayer" = res ] && continue
        if [ "$tree" = core ] && [ "$itree" = win32 ]; then
            echo "$file: the core includes $included"
            status=1
        elif [ "$(rank "$ilayer")" -lt "$own" ]; then
            echo "$file: $layer includes $included, a layer above it"
            status=1
        fi
    done < <(sed -n 's/^#include "\(\(core\|win32\)\/[^"]*\)".*/\1/p' "$file")
done < <(find core win32 -name '*.h' -o -name '*.cpp' | grep -v '^win32/res/' | sort)

if [ "$status" -eq 0 ]; then echo "Includes go down: ${layers[*]}"; fi
exit "$status"
