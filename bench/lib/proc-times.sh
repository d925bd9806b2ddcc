# shellcheck shell=bash
# Sourced by the Wine benchmarks: processor time of Linux processes, read from /proc. Wine's
# GetProcessTimes answers nothing useful for another process, so the times are taken from the
# kernel: the program's own process and the wineserver of this prefix, which does the work of
# many Win32 calls on the program's behalf.

# The newest process named exactly $1.
newest_pid() { pgrep -n -x "$1"; }

# The wineserver that serves $WINEPREFIX: it works in a folder named after the prefix's device and
# inode numbers.
prefix_wineserver_pid() {
    local pid folder
    local device inode
    read -r device inode < <(stat -c '%d %i' "$WINEPREFIX")
    folder=$(printf 'server-%x-%x' "$device" "$inode")
    for pid in $(pgrep wineserver); do
        if [ "$(basename "$(readlink "/proc/$pid/cwd")")" = "$folder" ]; then
            echo "$pid"
            return
        fi
    done
}

# User plus system time of process $1 in milliseconds (0 when it is gone).
cpu_ms() {
    local stat
    if [ -z "$1" ] || ! stat=$(cat "/proc/$1/stat" 2>/dev/null); then
        echo 0
        return
    fi
    # Fields after the command name, which may hold blanks: utime and stime are fields 14 and 15.
    awk -v hz="$(getconf CLK_TCK)" '{ print int(($12 + $13) * 1000 / hz) }' <<<"${stat##*) }"
}
