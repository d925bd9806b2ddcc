# The tray icon as a user meets it: it comes back when the shell restarts, its picture follows the
# processor load (HideTrayWhenVisible is a case of modes.sh; the tip's updates while the pointer
# rests on the icon are checked in the Windows tier, as Wine's shell shows its tip unreliably).
# Under Xvfb Wine shows the icon in its "Wine System Tray" window (top left of the screen); the
# monitor window is placed away from it. The screenshots stay in build/windows/e2e/tray/ for a look.
source "$(dirname "$0")/lib.sh"

FRAME='#808080'     # the grey frame round every level picture
EMPTY='#C0C0C0'     # inside the frame where the picture is not filled

# Busy loops on every processor: a steady full load, so the level picture stays at the top. Their
# process numbers go to a file, as each case runs in a subshell of its own.
BUSY_FILE="$CASE_DIR/busy.pids"
start_busy() {
    local i
    mkdir -p "$CASE_DIR"
    for ((i = 0; i < $(nproc); i++)); do
        (while :; do :; done) &
        echo $! >>"$BUSY_FILE"
    done
}
stop_busy() {
    if [ -f "$BUSY_FILE" ]; then
        # shellcheck disable=SC2046 # one process number per word
        kill $(cat "$BUSY_FILE") 2>/dev/null || true
        rm -f "$BUSY_FILE"
    fi
}

# Every value of the answers with KEY in FILE, one per line.
values() {
    awk -v key="$1" 'index($0, key " ") == 1 { print substr($0, length(key) + 2) }' "$2"
}

# The level picture in screenshot FILE within the tray area "LEFT TOP WIDTH HEIGHT": the rows
# filled inside the grey frame at its middle column (0 to 14), or "none" when no frame is there.
picture_level() {
    local file=$1 left=$2 top=$3 width=$4 height=$5
    convert "$file" -crop "${width}x${height}+${left}+${top}" +repage txt:- |
        awk -v frame="$FRAME" -v empty="$EMPTY" -F'[,: ]+' '
            NR > 1 { colour[$1 "," $2] = $0 ~ frame ? "frame" : ($0 ~ empty ? "empty" : "fill")
                     if ($0 ~ frame && (x0 == "" || $1 < x0)) x0 = $1
                     if ($0 ~ frame && (y0 == "" || $2 < y0)) y0 = $2 }
            END {
                if (x0 == "") { print "none"; exit }
                for (y = y0 + 1; y <= y0 + 14; y++) filled += colour[(x0 + 8) "," y] == "fill"
                print filled
            }'
}

# The level the gauge text "NN%" asks for: NN x 0.14, halves to the even neighbour.
level_for() {
    awk -v p="${1%\%}" 'BEGIN { s = p * 14; l = int(s / 100); r = s % 100
                                if (r > 50 || (r == 50 && l % 2 == 1)) l++; print l }'
}

close_quelmo() {
    drive attach A TForm_Main close wait-exit A 0 >/dev/null 2>&1 || true
}

icon_comes_back_when_the_shell_restarts() {
    fresh_app
    write_ini '[General]' FirstLaunch=0 Rate=2000 '[Location]' PosX=400 PosY=300
    # At full load the picture stays at the top level (from 97%), so no sample repairs the icon
    # before the broadcast; the shell loses it only once the gauge shows that load.
    start_busy
    trap stop_busy EXIT # each case runs in a subshell: this ends the loops when it ends
    local lost="$CASE_DIR/lost.txt" back="$CASE_DIR/back.txt" attempt
    # A sample that changes the picture in between puts the icon back by itself (the repair after
    # a failed change); such a run proves nothing about the broadcast, so it is tried again.
    for attempt in 1 2 3; do
        drive_with_screenshot lost "$lost" start A "\"$APP\"" wait-window A TForm_Main wait-tray-icon 1 \
            timeout 30000 wait-text Gauge_CPUUsage '(9[7-9]|100)%' tray-area tray-forget tray-icon sleep 500 \
            signal-shot
        # The shell broadcasts "TaskbarCreated" when it starts; it reaches the window at once.
        drive_with_screenshot back "$back" attach A TForm_Main tray-icon broadcast TaskbarCreated tray-icon \
            sleep 500 signal-shot close wait-exit A 0
        [ "$(values tray-icon "$back" | head -1)" = 0 ] && break
        echo "attempt $attempt: a sample put the icon back before the broadcast" >&2
    done
    local area
    area=$(value tray-area "$lost")
    stop_busy
    [ "$(values tray-icon "$lost" | tail -1)" = 0 ] || fail "the shell still had the icon after losing it"
    [ "$(values tray-icon "$back" | head -1)" = 0 ] || fail "the icon came back before the broadcast"
    [ "$(values tray-icon "$back" | tail -1)" = 1 ] || fail "the icon did not come back"
    # shellcheck disable=SC2086 # the area is four numbers
    [ "$(picture_level "$CASE_DIR/lost.png" $area)" = none ] || fail "a picture is still in the tray"
    # shellcheck disable=SC2086
    [ "$(picture_level "$CASE_DIR/back.png" $area)" != none ] || fail "no picture in the tray"
}

# Reads the gauge, takes a screenshot NAME, reads the gauge again; when both readings agree the
# tray picture must show their level. Answers the level, retrying when a sample fell in between.
checked_level() {
    local name=$1 area=$2 tries out first second level
    for tries in 1 2 3 4 5 6 7 8; do
        out="$CASE_DIR/$name.txt"
        drive_with_screenshot "$name" "$out" attach A TForm_Main get-text Gauge_CPUUsage sleep 400 \
            signal-shot sleep 400 get-text Gauge_CPUUsage >/dev/null
        first=$(values "text Gauge_CPUUsage" "$out" | head -1)
        second=$(values "text Gauge_CPUUsage" "$out" | tail -1)
        [ "$first" = "$second" ] || continue
        # shellcheck disable=SC2086
        level=$(picture_level "$CASE_DIR/$name.png" $area)
        echo "gauge $first, picture level $level" >&2
        [ "$level" = "$(level_for "$first")" ] || fail "gauge $first but the picture shows level $level"
        echo "$level"
        return 0
    done
    fail "the gauge never held still for a screenshot"
}

picture_follows_the_load() {
    fresh_app
    # A sample every two seconds (the longest period the sampler keeps), so a screenshot fits
    # between two of them.
    write_ini '[General]' FirstLaunch=0 Rate=2000 '[Location]' PosX=400 PosY=300
    local out="$CASE_DIR/start.txt"
    drive start A "\"$APP\"" wait-window A TForm_Main wait-tray-icon 1 tray-area \
        timeout 20000 wait-text Gauge_CPUUsage '[0-9]+%' >"$out"
    local area level idle
    area=$(value tray-area "$out")
    idle=$(checked_level before "$area")
    start_busy
    trap 'stop_busy; close_quelmo' EXIT
    drive attach A TForm_Main timeout 30000 wait-text Gauge_CPUUsage '(9[0-9]|100)%' >/dev/null
    level=$(checked_level busy "$area")
    # Each picture matched its gauge reading; under load the level rose (a machine shared with other
    # work may not show the full 13 or 14).
    [ "$level" -gt "$idle" ] || fail "the load showed level $level, no higher than $idle before it"
    stop_busy
    close_quelmo
}

trap 'stop_busy; close_quelmo' EXIT
run_case shell_restart icon_comes_back_when_the_shell_restarts
run_case picture picture_follows_the_load
finish
