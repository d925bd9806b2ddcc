# Sourced by the scripts that run Windows programs: a private Wine prefix, a quiet Wine, a
# persistent wineserver (so each program starts in about a second instead of three) and, unless
# QUELMO_WINE_DISPLAY=host, a private Xvfb display so tests never touch the user's screen.
#
# In:  QUELMO_WINE_PREFIX (default: <repo>/build/windows/wineprefix)
# Out: WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES, DISPLAY exported; on the private Xvfb, Wine's
#      windows are unmanaged (no window manager runs there).

quelmo_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${QUELMO_WINE_PREFIX:-$quelmo_repo/build/windows/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win32
mkdir -p "$(dirname "$WINEPREFIX")"

quelmo_state="$WINEPREFIX.state"
mkdir -p "$quelmo_state"

# One Xvfb per prefix, reused while it lives.
quelmo_start_xvfb() {
    local pidfile="$quelmo_state/xvfb.pid" dispfile="$quelmo_state/xvfb.display"
    if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null && [ -s "$dispfile" ]; then
        export DISPLAY=":$(cat "$dispfile")"
        return 0
    fi
    local fifo="$quelmo_state/displayfd"
    rm -f "$fifo"
    mkfifo "$fifo"
    # 1280x800 keeps screenshots small; 24-bit so colours are exact; -noreset keeps the desktop
    # colour below when the last program disconnects (a reset would paint it black again).
    # fd 9 (the lock) is closed for Xvfb, or the lock would live as long as the server.
    setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$fifo" 9>&- >/dev/null 2>&1 &
    echo $! >"$pidfile"
    local num=""
    read -r num <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$num" ]; then
        echo "wine-env: Xvfb did not start" >&2
        return 1
    fi
    echo "$num" >"$dispfile"
    export DISPLAY=":$num"
    # A light grey desktop instead of Xvfb's black one: Quelmo's black labels and see-through
    # background read on it as on a user's desktop, and a white window's edges still show.
    # (display sets the root window's background and ends; it answers 1 even then.)
    display -window root -size 8x8 'xc:#C0C0C0' >/dev/null 2>&1 9>&- || true
}

if [ "${QUELMO_WINE_DISPLAY:-}" != host ] || [ -z "${DISPLAY:-}" ]; then
    (
        flock 9
        quelmo_start_xvfb
    ) 9>"$quelmo_state/xvfb.lock"
    export DISPLAY=":$(cat "$quelmo_state/xvfb.display")"
fi

# Create the prefix once (serialised: parallel tests must not initialise it twice), then keep
# a wineserver alive for 60 s after the last client so consecutive programs start fast.
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        # The wineserver that wineboot starts must not inherit the lock.
        wineboot -i >/dev/null 2>&1 9>&- || true
        wineserver -w 9>&-
    fi
    # The private Xvfb has no window manager, and Wine waits two seconds for one each time a window
    # that was active is hidden (a closing Quelmo, a dialog closed by Escape). There Wine stacks and
    # focuses the windows itself; on the user's display the window manager does.
    managed=Y
    [ "${QUELMO_WINE_DISPLAY:-}" = host ] || managed=N
    if ! grep -q "^\"Managed\"=\"$managed\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1 </dev/null 9>&- ||
            true
    fi
) 9>"$quelmo_state/prefix.lock"
wineserver -p60 >/dev/null 2>&1 </dev/null || true
# Start Wine's own background processes (services, explorer) detached from our output: started
# by the first program instead, they would inherit its stdout and keep a test runner waiting
# for the pipe to close until the server lingers out. Costs a quarter second once booted.
# "-r" skips the start-up programs of the Run keys: a test that registers Quelmo there must not
# have it started by the next program's boot.
wineboot -r >/dev/null 2>&1 </dev/null || true
