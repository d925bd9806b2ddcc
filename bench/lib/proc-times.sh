# shellcheck shell=bash
# Sourced by the Wine benchmarks: processor time of Linux processes, read from /proc. Wine's
# GetProcessTimes answers nothing useful for another process, so the times are taken from the
# kernel: the program's own process, the wineserver of this prefix, which does the work of many
# Win32 calls on the program's behalf, and the prefix's explorer.exe, the shell that draws the
# tray icons.

# The newest process named exactly $1.
newest_pid() { pgrep -n -x "$1"; }

# The newest process named $1 (as Linux shows it: at most 15 characters) that runs in
# $WINEPREFIX; several prefixes may run the same program at once.
prefix_pid() {
    local pid found=""
    for pid in $(pgrep -x "${1:0:15}"); do
        # A process may end between pgrep and the read.
        if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            found=$pid
        fi
    done
    echo "$found"
}

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

# Every Linux process of $WINEPREFIX's Windows programs (the program, explorer.exe, services.exe,
# winedevice.exe...), one pid a line; the wineserver is not among them (prefix_wineserver_pid).
prefix_pids() {
    local pid
    for pid in $(pgrep -f '\.exe'); do
        if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
        fi
    done
}

# "pid ms" for every process of the prefix and its wineserver, to be compared by wine_cpu_delta.
wine_cpu_snapshot() {
    local pid
    for pid in $(prefix_pids) $(prefix_wineserver_pid); do
        echo "$pid $(cpu_ms "$pid")"
    done
}

# Processor ms spent between two snapshots (files $1 and $2); a process that started in between
# counts whole, one that ended in between is not counted after its last reading.
wine_cpu_delta() {
    awk 'NR == FNR { before[$1] = $2; next } { total += $2 - ($1 in before ? before[$1] : 0) }
         END { print total + 0 }' "$1" "$2"
}

# Resident memory of process $1 in KB (VmRSS; 0 when it is gone).
rss_kb() {
    awk '/^VmRSS:/ { print $2; found = 1 } END { if (!found) print 0 }' "/proc/$1/status" 2>/dev/null || echo 0
}

# Starts the prefix's shell (explorer.exe /desktop) unless it runs, quiet and detached: started
# by the measured program instead, it would inherit that program's debug channels and output.
start_prefix_shell() {
    if [ -z "$(prefix_pid explorer.exe)" ]; then
        (WINEDEBUG=-all setsid wine explorer.exe /desktop >/dev/null 2>&1 </dev/null &)
        local tries=0
        while [ -z "$(prefix_pid explorer.exe)" ] && [ "$tries" -lt 100 ]; do
            sleep 0.1
            tries=$((tries + 1))
        done
    fi
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
