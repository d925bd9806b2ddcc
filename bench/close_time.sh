#!/usr/bin/env bash
# How long closing Quelmo.exe takes under Wine, as a user sees it: from the click on the close
# button (or on "Exit" in the menu) until the window is gone from the screen, until the settings
# file is written, and until the process has ended. QUELMO_CLOSE_RUNS sets the runs per way
# (default 3); each run starts a fresh copy with the default settings. Another build can be
# measured by giving its Quelmo.exe as the argument. A screenshot of the window's
# place is taken every pass (about 50 ms), so the figures are good to that.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${QUELMO_CLOSE_RUNS:-3}
exe=${1:-$repo/build/windows/Quelmo.exe}
work="$repo/build/windows/close-time"
driver="$repo/build/windows/quelmo_driver.exe"

source "$repo/scripts/wine-env.sh"
drive() { WINEDEBUG=-all wine "$driver" "$@"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The Windows path (drive Z:) of a Linux path, passed on as it is.
winpath() {
    local path
    path=$(realpath -m "$1")
    printf 'Z:%s\n' "${path//\//\\}"
}

# Whether process $1 runs; our own child lingers as a zombie until waited for.
running() {
    local state
    state=$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null) && [ "$state" != Z ]
}

# Whether the screen shows nothing but the desktop where the window was: one colour only.
window_gone() {
    [ "$(import -window root -crop 250x105+200+200 -format %k info: 2>/dev/null)" = 1 ]
}

# One run: starts Quelmo, lets it sample for a second, then closes it the way $1 names (button or
# exit) and prints "WINDOW INI PROCESS" in milliseconds after the click.
measure() {
    local way=$1
    rm -rf "$work"
    mkdir -p "$work"
    cp "$exe" "$work/Quelmo.exe"
    local clicked="$work/clicked" ini="$work/Quelmo.ini"
    # The default size at a known place; the file is written by replacing it, so its inode changes.
    printf '%s\r\n' '[General]' FirstLaunch=0 '[Location]' PosX=200 PosY=200 >"$ini"
    local inode
    inode=$(stat -c %i "$ini")
    # Wine runs the program in the process it started: $! is Quelmo.exe itself (other copies of
    # Quelmo.exe on the machine, in other prefixes, are not looked at).
    WINEDEBUG=-all wine "$work/Quelmo.exe" &
    quelmo=$!
    trap 'kill "$quelmo" 2>/dev/null || true' EXIT
    drive timeout 60000 attach Q TForm_Main wait-text Label_MemoryUsed '.+ %' sleep 1000 >/dev/null
    local commands=(attach Q TForm_Main)
    if [ "$way" = exit ]; then
        commands+=(right-click Label_MemoryUsed wait-menu signal "$(winpath "$clicked")" choose-menu Exit)
    else
        # A move onto the window first: the buttons show on mouse movement.
        commands+=(move-mouse Label_CPUSpeed move-mouse SB_Close wait-visible SB_Close 1
                   signal "$(winpath "$clicked")" click SB_Close)
    fi
    drive "${commands[@]}" >"$work/driver.log" 2>&1 &
    local driver_pid=$!
    local t0="" window="" written="" ended="" t
    while [ -z "$window" ] || [ -z "$written" ] || [ -z "$ended" ]; do
        t=$(now_ms)
        [ -n "$t0" ] || { [ -e "$clicked" ] && t0=$t; }
        # A driver that ended without clicking (a control not found, a menu not opened) is an error.
        if [ -z "$t0" ] && ! running "$driver_pid" && [ ! -e "$clicked" ]; then
            echo "close_time: no click ($way); the driver said:" >&2
            cat "$work/driver.log" >&2
            return 1
        fi
        if [ -n "$t0" ]; then
            [ -n "$window" ] || ! window_gone || window=$t
            [ -n "$written" ] || [ "$(stat -c %i "$ini" 2>/dev/null)" = "$inode" ] || written=$t
            [ -n "$ended" ] || { running "$quelmo" || ended=$t; }
            [ $((t - t0)) -lt 60000 ] || break
        fi
        sleep 0.005
    done
    wait "$driver_pid" || true
    wait "$quelmo" || true
    trap - EXIT
    echo "$((window - t0)) $((written - t0)) $((ended - t0))"
}

echo "Closing Quelmo.exe under Wine, milliseconds after the click ($runs runs each):"
for way in button exit; do
    results=()
    for _ in $(seq "$runs"); do
        results+=("$(measure "$way")")
    done
    printf '%s\n' "${results[@]}" | sort -n -k3 | awk -v way="$way" -v n="$runs" '
        { w[NR] = $1; i[NR] = $2; p[NR] = $3 }
        END { m = int((n + 1) / 2)
              printf "  %-8s window gone %5d, settings written %5d, process gone %5d (median by the end; runs:",
                     way, w[m], i[m], p[m]
              for (k = 1; k <= n; k++) printf " %d/%d/%d", w[k], i[k], p[k]
              print ")" }'
done
