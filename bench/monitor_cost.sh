#!/usr/bin/env bash
# What Quelmo.exe costs as users run it, under Wine: two minutes with the default settings (a
# sample every 500 ms, see-through window), then two minutes at Rate 100, the fastest rate the
# settings dialog offers. Prints the processor time as a share of one processor and the committed
# private memory at the end. QUELMO_COST_SECONDS sets another length per run.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
seconds=${QUELMO_COST_SECONDS:-120}
work="$repo/build/windows/cost"
driver="$repo/build/windows/quelmo_driver.exe"

source "$repo/scripts/wine-env.sh"
source "$repo/bench/lib/proc-times.sh"
drive() { WINEDEBUG=-all wine "$driver" "$@"; }

# Runs Quelmo.exe with the settings file lines after $1 for $seconds and prints one line named $1.
measure() {
    local name=$1
    local settings=("${@:2}")
    rm -rf "$work"
    mkdir -p "$work"
    cp "$repo/build/windows/Quelmo.exe" "$work/"
    printf '%s\r\n' "${settings[@]}" >"$work/Quelmo.ini"
    WINEDEBUG=-all wine "$work/Quelmo.exe" &
    local quelmo=$!
    # A failed measurement must not leave Quelmo running: it would hold the instance mutex.
    trap 'kill "$quelmo" 2>/dev/null || true' EXIT
    drive timeout 60000 attach Q TForm_Main >/dev/null
    # The first ten seconds are start-up (Wine loads its libraries); the window is measured after.
    sleep 10
    local pid server
    pid=$(newest_pid Quelmo.exe)
    server=$(prefix_wineserver_pid)
    local before server_before
    before=$(cpu_ms "$pid")
    server_before=$(cpu_ms "$server")
    sleep "$seconds"
    local ms server_ms kb
    ms=$(($(cpu_ms "$pid") - before))
    server_ms=$(($(cpu_ms "$server") - server_before))
    kb=$(drive attach Q TForm_Main private-bytes Q | sed -n 's/^private-bytes Q //p')
    kb=$((kb / 1024))
    drive timeout 30000 attach Q TForm_Main close wait-exit Q 0 >/dev/null
    wait "$quelmo" || true
    trap - EXIT
    awk -v name="$name" -v ms="$ms" -v sms="$server_ms" -v s="$seconds" -v kb="$kb" \
        'BEGIN { printf "  %-28s Quelmo.exe %.2f %% of one processor (%d ms in %d s), wineserver %.2f %%,",
                         name, ms / s / 10, ms, s, sms / s / 10
                 printf " private memory %d KB\n", kb }'
}

echo "Quelmo.exe under Wine, $seconds s per run after a 10 s start:"
measure "default settings (Rate 500)" '[General]' FirstLaunch=0
measure "Rate 100" '[General]' FirstLaunch=0 Rate=100
