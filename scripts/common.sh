# Shared by the setup, build, start and test scripts.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Absolute, as Wine wants its prefix and as the scripts change folders.
BUILD="$(realpath -m "${KORBELA_BUILD:-$ROOT/build}")"
JOBS="${JOBS:-$(nproc)}"

# Wine runs in the project's own 64-bit prefix under the build folder, never
# in one that the user exported for their own programs (WINEPREFIX and WINEARCH
# are ignored); KORBELA_WINEPREFIX names another folder for it.
WINEPREFIX="$(realpath -m "${KORBELA_WINEPREFIX:-$BUILD/wineprefix}")"
export WINEPREFIX
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

log() { printf '\n== [%4ss] %s\n' "$SECONDS" "$*"; }

# A private X display when there is none, so the program's windows can be shown.
ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
    # The server picks a free display number itself and writes it out, so two
    # test sessions started at once never share (and end) one display.
    local number
    number="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
    KORBELA_XVFB_PID=$!
    for _ in $(seq 1 100); do
        if [ -s "$number" ]; then
            export DISPLAY=":$(tr -dc '0-9' <"$number")"
            rm -f "$number"
            xdpyinfo >/dev/null 2>&1 && return
            break
        fi
        sleep 0.1
    done
    rm -f "$number"
    echo "could not start Xvfb" >&2
    exit 1
}

stop_display() {
    if [ -n "${KORBELA_XVFB_PID:-}" ]; then kill "$KORBELA_XVFB_PID" 2>/dev/null || true; fi
}

ensure_wineprefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "Preparing the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i </dev/null >/dev/null 2>&1 || true
    fi
    wine_tahoma
}

# The window is drawn in Tahoma, which Wine brings in the package fonts-wine.
# Debian's Wine 8 looks for its own fonts under "/usr/share/wine/../fonts",
# a path it cannot open, so without a copy in the prefix's Fonts folder it
# draws in DejaVu Sans, which is wider, and captions are cut off.
wine_tahoma() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
    mkdir -p "$fonts"
    for f in /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf; do
        [ -f "$f" ] && ! cmp -s "$f" "$fonts/${f##*/}" && cp "$f" "$fonts/"
    done
    return 0
}

# Makes Wine ready for the tests: a private display where there is none, the
# prefix with the window's font, no window manager, and the display's
# resolution when one is given. Another prefix than the project's own (a
# subshell's, for the 144-dpi or the automatic freeing tests) gets a display
# of its own too, stopped when that subshell ends.
wine_test_session() {
    local prefix="$1" dpi="${2:-}"
    if [ "$prefix" != "$WINEPREFIX" ]; then
        export WINEPREFIX="$prefix"
        unset DISPLAY KORBELA_XVFB_PID
    fi
    ensure_display
    trap stop_display EXIT
    ensure_wineprefix
    if [ -n "$dpi" ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
    fi
    unmanaged_windows
}

# For the tests: Wine leaves the windows to no window manager (there is none on
# the test display). Otherwise every hide or destroy of a top-level window waits
# two seconds for a window manager to answer, and each test's exit takes six.
# Wine's own background processes read it at their start, so they start again.
unmanaged_windows() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1 || true
    timeout 30 wineserver -w || wineserver -k || true
}

# Runs a command in a mount namespace of its own where /proc/meminfo is the
# file $1 (a copy of the real one to start with), named to the command in
# KORBELA_FAKE_MEMINFO: the tests set through it the free memory that Wine
# reports. Nothing outside the command sees the change.
with_fake_meminfo() {
    local file="$1"
    shift
    cp /proc/meminfo "$file"
    if [ "$(id -u)" -eq 0 ]; then
        unshare -m sh -c 'mount --bind "$0" /proc/meminfo && exec "$@"' \
            "$file" env KORBELA_FAKE_MEMINFO="$file" "$@"
    else
        sudo --preserve-env unshare -m sh -c \
            'mount --bind "$0" /proc/meminfo && exec setpriv --reuid="$SUDO_UID" --regid="$SUDO_GID" --init-groups "$@"' \
            "$file" env KORBELA_FAKE_MEMINFO="$file" "$@"
    fi
}

# For a user's desktop: the window manager moves and stacks the windows again.
managed_windows() {
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f </dev/null >/dev/null 2>&1 || true
}
