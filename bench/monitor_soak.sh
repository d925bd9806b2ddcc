#!/usr/bin/env bash
# Quelmo.exe for ten minutes at Rate 10 (a sample every 10 ms) under Wine: the process's GDI
# objects and committed private memory in the first minute against the last. A handle or memory
# lost per sample would show as growth. The tray icon's pictures are made on first use, two GDI
# objects each, so the count may step up by two when the load first reaches a new level.
# QUELMO_SOAK_SECONDS sets another length (at least 130).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
seconds=${QUELMO_SOAK_SECONDS:-600}
[ "$seconds" -ge 130 ] || { echo "monitor_soak: QUELMO_SOAK_SECONDS must be 130 or more" >&2; exit 2; }
work="$repo/build/windows/soak"
driver="$repo/build/windows/quelmo_driver.exe"
rm -rf "$work"
mkdir -p "$work"
cp "$repo/build/windows/Quelmo.exe" "$work/"
printf '[General]\r\nRate=10\r\nTransparency=0\r\nAlphaBlend=0\r\n' >"$work/Quelmo.ini"

source "$repo/scripts/wine-env.sh"
source "$repo/bench/lib/proc-times.sh"
drive() { WINEDEBUG=-all wine "$driver" "$@"; }

# Wine traces every GDI handle it makes or frees with the number then alive ("allocated
# NTGDI_OBJ_PEN 0x... 112/65536"). Per second of the run, awk keeps the fewest and the most alive:
# the fewest is the level between two samples.
count_gdi() {
    awk '/(alloc|free)_gdi_handle/ {
        split($1, stamp, ":"); second = int(stamp[1]); split($NF, alive, "/"); n = alive[1] + 0
        if (start == "") start = second
        t = second - start
        if (t != last && last != "") { print last, low, high; fflush() }
        if (t != last) { low = n; high = n }
        if (n < low) low = n
        if (n > high) high = n
        last = t
    }
    END { if (last != "") print last, low, high }'
}

echo "Quelmo.exe at Rate 10 for $seconds s under Wine (GDI objects from Wine's trace, private memory"
echo "from the committed private regions)"
WINEDEBUG=+timestamp,+gdi wine "$work/Quelmo.exe" 2> >(count_gdi >"$work/gdi.txt") &
quelmo=$!
# A failed run must not leave Quelmo running: it would hold the instance mutex.
trap 'kill "$quelmo" 2>/dev/null || true' EXIT
drive timeout 60000 attach Q TForm_Main >/dev/null
pid=$(newest_pid Quelmo.exe)
started=$SECONDS
: >"$work/memory.txt"
while [ $((SECONDS - started)) -lt "$seconds" ]; do
    bytes=$(drive attach Q TForm_Main private-bytes Q | sed -n 's/^private-bytes Q //p')
    echo "$((SECONDS - started)) $bytes $(cpu_ms "$pid")" >>"$work/memory.txt"
    sleep 5
done
drive timeout 30000 attach Q TForm_Main close wait-exit Q 0 >/dev/null
wait "$quelmo" || true
sleep 1

# The first minute after a 10 s warm-up, and the last minute.
summary() {
    local file=$1 what=$2
    awk -v end="$seconds" -v what="$what" '
        $1 >= 10 && $1 < 70 { if (n1 == 0 || $2 < lo1) lo1 = $2; if ($2 > hi1) hi1 = $2; s1 += $2; n1++ }
        $1 >= end - 60 && $1 < end { if (n2 == 0 || $2 < lo2) lo2 = $2; if ($2 > hi2) hi2 = $2; s2 += $2; n2++ }
        END {
            if (n1 == 0 || n2 == 0) { print what ": not enough readings"; exit 1 }
            printf "%-34s first minute %s..%s (mean %.0f), last minute %s..%s (mean %.0f)\n",
                   what, lo1, hi1, s1 / n1, lo2, hi2, s2 / n2
        }' "$file"
}
summary "$work/gdi.txt" "GDI objects between samples:"
awk '{ print $1, $3 }' "$work/gdi.txt" >"$work/gdi-peak.txt"
summary "$work/gdi-peak.txt" "GDI objects at the busiest moment:"
awk '{ printf "%d %d\n", $1, $2 / 1024 }' "$work/memory.txt" >"$work/memory-kb.txt"
summary "$work/memory-kb.txt" "private memory (KB):"
# Processor time per minute: the first minute after the warm-up against the last.
awk -v end="$seconds" '
    $1 >= 10 && first10 == "" { first10 = $1; c10 = $3 }
    $1 >= 70 && first70 == "" { first70 = $1; c70 = $3 }
    $1 >= end - 60 && last1 == "" { last1 = $1; cl = $3 }
    { lastt = $1; lastc = $3 }
    END {
        printf "%-34s first minute %.2f %% of one processor, last minute %.2f %%\n", "processor time:",
               (c70 - c10) / (first70 - first10) / 10, (lastc - cl) / (lastt - last1) / 10
    }' "$work/memory.txt"
echo "readings: $work/gdi.txt (second, fewest, most), $work/memory.txt (second, bytes, processor ms)"
