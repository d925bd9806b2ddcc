#!/usr/bin/env bash
# What Quelmo.exe costs as users run it, under Wine, side by side with the floor (quelmo_floor.exe:
# the same visible work done as cheaply as we know how). Each runs in a Wine prefix of its own, so
# each has its own shell (explorer.exe, which draws the tray icons) and wineserver, and both run at
# the same time under the same load: one run with the default settings (a sample every 500 ms,
# see-through window), one at Rate 100, the fastest rate the settings dialog offers.
#
# Printed per program, in milliseconds of processor time per minute: the program itself, the
# shell, the two together, the wineserver; then the committed private memory at the end and the
# shell notify calls per minute (Shell_NotifyIconW, counted by Wine's "systray" debug channel in
# the program's process: no counter in the product). The last line of each run is Quelmo's cost
# over the floor's.
#
#   bench/monitor_cost.sh [QUELMO_EXE]     default build/windows/Quelmo.exe
#   QUELMO_COST_SECONDS=60                 length of each measurement, after a 10 s start
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
seconds=${QUELMO_COST_SECONDS:-60}
quelmo_exe=$(realpath "${1:-$repo/build/windows/Quelmo.exe}")
floor_exe="$repo/build/windows/bench/quelmo_floor.exe"
driver="$repo/build/windows/quelmo_driver.exe"
work="$repo/build/windows/cost"
for exe in "$quelmo_exe" "$floor_exe" "$driver"; do
    [ -f "$exe" ] || { echo "monitor_cost: $exe is missing (build the windows preset)" >&2; exit 2; }
done

# Measures one program in the prefix $2 and writes "program shell server kb notify" (totals over
# the measured seconds) to $3. $1 names the run's folder; $4 is the window class to attach to;
# the rest is the program and its arguments.
measure_side() {
    local name=$1 prefix=$2 out=$3 class=$4
    local program=("${@:5}")
    (
        export QUELMO_WINE_PREFIX=$prefix
        source "$repo/scripts/wine-env.sh"
        source "$repo/bench/lib/proc-times.sh"
        drive() { WINEDEBUG=-all wine "$driver" "$@"; }
        start_prefix_shell
        local trace="$work/$name.trace"
        WINEDEBUG=trace+systray wine "${program[@]}" 2>"$trace" &
        local started=$!
        # A failed measurement must not leave the program running.
        trap 'kill "$started" 2>/dev/null || true' EXIT
        drive timeout 60000 attach P "$class" >/dev/null
        # The first ten seconds are start-up (Wine loads its libraries); the window is measured after.
        sleep 10
        local pid shell server
        pid=$(prefix_pid "$(basename "${program[0]}")")
        shell=$(prefix_pid explorer.exe)
        server=$(prefix_wineserver_pid)
        local p0 s0 w0 n0
        p0=$(cpu_ms "$pid") s0=$(cpu_ms "$shell") w0=$(cpu_ms "$server")
        n0=$(grep -c 'Shell_NotifyIconW' "$trace" || true)
        sleep "$seconds"
        local p1 s1 w1 n1 bytes
        p1=$(cpu_ms "$pid") s1=$(cpu_ms "$shell") w1=$(cpu_ms "$server")
        n1=$(grep -c 'Shell_NotifyIconW' "$trace" || true)
        bytes=$(drive attach P "$class" private-bytes P | sed -n 's/^private-bytes P //p')
        drive timeout 30000 attach P "$class" close wait-exit P 0 >/dev/null
        wait "$started" || true
        trap - EXIT
        echo "$((p1 - p0)) $((s1 - s0)) $((w1 - w0)) $((bytes / 1024)) $((n1 - n0))" >"$out"
    )
}

# One run: Quelmo with the settings lines given as arguments, and the floor at rate $1.
run() {
    local title=$1 rate=$2
    local settings=("${@:3}")
    rm -rf "$work/app"
    mkdir -p "$work/app"
    cp "$quelmo_exe" "$work/app/Quelmo.exe"
    printf '%s\r\n' "${settings[@]}" >"$work/app/Quelmo.ini"
    measure_side quelmo "$repo/build/windows/cost-prefix" "$work/quelmo.txt" TForm_Main \
        "$work/app/Quelmo.exe" &
    local quelmo=$!
    measure_side floor "$repo/build/windows/cost-floor-prefix" "$work/floor.txt" QuelmoFloor \
        "$floor_exe" "$rate" &
    local floor=$!
    wait "$quelmo"
    wait "$floor"
    echo "$title"
    awk -v s="$seconds" '
        function row(label, p, sh, w, kb, n) {
            printf "  %-18s %8.0f %8.0f %8.0f %10.0f %10d %11.1f\n", label, p * 60 / s, sh * 60 / s,
                   (p + sh) * 60 / s, w * 60 / s, kb, n * 60 / s
        }
        FNR == 1 && NR == 1 { qp = $1; qs = $2; row("Quelmo.exe", $1, $2, $3, $4, $5) }
        FNR == 1 && NR == 2 { fp = $1; fs = $2; row("quelmo_floor.exe", $1, $2, $3, $4, $5) }
        END {
            printf "  %-18s %8.2f %8s %8.2f\n", "Quelmo / floor", fp ? qp / fp : 0, "",
                   (fp + fs) ? (qp + qs) / (fp + fs) : 0
        }' "$work/quelmo.txt" "$work/floor.txt"
}

mkdir -p "$work"
echo "Quelmo.exe ($quelmo_exe) and the floor under Wine, side by side, $seconds s after a 10 s start."
echo "Processor time in ms per minute; memory in KB; shell notify calls per minute."
printf '  %-18s %8s %8s %8s %10s %10s %11s\n' "" program shell "prog+sh" wineserver "private KB" "notify/min"
run "Default settings (Rate 500):" 500 '[General]' FirstLaunch=0
run "Rate 100:" 100 '[General]' FirstLaunch=0 Rate=100
