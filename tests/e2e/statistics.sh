# The statistics and About windows as a user meets them: F5 opens the statistics and the samples
# grow; Reset zeroes them and clears the monitor window's graph; the average processor load agrees
# with the kernel's own count over the same seconds; Shift+F1 opens About, a right-click on its
# header copies the build's identification and Escape hides it. The screenshots of both windows
# stay in build/windows/e2e/statistics/ for a look.
source "$(dirname "$0")/lib.sh"

NAVY='#000080'
IDENTIFICATION='Quelmo 2.0.2 Beta (2014-02-11)'

# The kernel's processor times (all processors): "busy total" in clock ticks.
proc_stat_times() {
    awk '$1 == "cpu" {
        total = $2 + $3 + $4 + $5 + $6 + $7 + $8 + $9
        printf "%d %d\n", total - $5 - $6, total
    }' /proc/stat
}

# The value of the last answer with KEY in FILE (value gives the first).
last_value() {
    awk -v key="$1" 'index($0, key " ") == 1 { found = 1; last = substr($0, length(key) + 2) }
        END { if (found) print last; exit !found }' "$2" || fail "no answer \"$1\" in $2"
}

# Pause handler: a screenshot, or a reading of /proc/stat named after the pause.
read_proc_stat() { proc_stat_times >"$CASE_DIR/$1.stat"; }

f5_shows_growing_samples_and_reset_zeroes_them_and_clears_the_graph() {
    fresh_app
    # One sample every 2 s: right after the reset the graph holds at most one point (no line).
    write_ini '[General]' FirstLaunch=0 Transparency=0 AlphaBlend=0 Rate=2000 '[Location]' PosX=40 PosY=60
    local out="$CASE_DIR/reset.txt"
    drive_pausing screenshot "$out" start A "\"$APP\"" wait-window A TForm_Main rect Chart_CPUUsage activate \
        keys F5 wait-window A TForm_Statistics get-text Label_Samples timeout 20000 \
        wait-text Label_Samples '[3-9]|[1-9][0-9]+' pause statistics \
        click SpeedButton_Reset wait-text Label_Samples 0 get-text Label_StatisticsRate \
        get-text Label_TimeRuning pause graph_after keys Escape wait-visible . 0 \
        find-window A TForm_Main close wait-exit A 0
    local first chart before after
    first=$(value "text Label_Samples" "$out")
    [[ "$first" =~ ^[0-2]$ ]] || fail "the samples read $first when the window opened"
    [ "$(value "text Label_StatisticsRate" "$out")" = "--" ] || fail "the rate after the reset is not --"
    [ "$(value "text Label_TimeRuning" "$out")" = "0 secs" ] || fail "the running time after the reset is not 0 secs"
    chart=$(value "rect Chart_CPUUsage" "$out")
    # shellcheck disable=SC2086 # the rectangle is four numbers
    before=$(count_pixels "$CASE_DIR/statistics.png" $chart "$NAVY")
    # shellcheck disable=SC2086
    after=$(count_pixels "$CASE_DIR/graph_after.png" $chart "$NAVY")
    echo "navy graph pixels in $chart: $before before the reset, $after after"
    [ "$before" -ge 20 ] || fail "no processor line before the reset"
    [ "$after" -le 5 ] || fail "the graph was not cleared by the reset"
}

average_load_agrees_with_the_kernel() {
    fresh_app
    start_busy
    local out="$CASE_DIR/load.txt" status=0
    # /proc/stat is read right after the reset and right after the average is read.
    drive_pausing read_proc_stat "$out" start A "\"$APP\"" wait-window A TForm_Main activate keys F5 \
        wait-window A TForm_Statistics sleep 1500 click SpeedButton_Reset wait-text Label_Samples 0 \
        pause load_from sleep 6000 get-text Label_CPUUsageAverage get-text Label_Samples pause load_to \
        close find-window A TForm_Main close wait-exit A 0 || status=$?
    stop_busy
    [ "$status" = 0 ] || return "$status"
    local average busy_from total_from busy_to total_to kernel
    average=$(value "text Label_CPUUsageAverage" "$out")
    read -r busy_from total_from <"$CASE_DIR/load_from.stat"
    read -r busy_to total_to <"$CASE_DIR/load_to.stat"
    [ "$total_to" -gt "$total_from" ] || fail "/proc/stat did not move"
    kernel=$(awk -v b=$((busy_to - busy_from)) -v t=$((total_to - total_from)) 'BEGIN { printf "%.2f", 100 * b / t }')
    echo "statistics average $average over $(last_value "text Label_Samples" "$out") samples; /proc/stat $kernel %"
    awk -v a="${average% %}" -v k="$kernel" 'BEGIN { d = a - k; exit !(d <= 10 && d >= -10) }' ||
        fail "the average $average is more than 10 points from the kernel's $kernel %"
}

shift_f1_opens_about_right_click_copies_and_escape_hides() {
    fresh_app
    local out="$CASE_DIR/about.txt"
    drive_pausing screenshot "$out" start A "\"$APP\"" wait-window A TForm_Main activate keys Shift+F1 \
        wait-window A TForm_About get-text Label_AboutVersion get-text Label_Translator pause about \
        right-click Panel_Header expect-clipboard "$IDENTIFICATION" keys Escape wait-visible . 0 \
        find-window A TForm_Main close wait-exit A 0
    [ "$(value "text Label_AboutVersion" "$out")" = "Version: 2.0.2 Beta" ] || fail "wrong version line"
    [ "$(value "text Label_Translator" "$out")" = "---" ] || fail "wrong translator"
}

trap stop_busy EXIT
run_case reset f5_shows_growing_samples_and_reset_zeroes_them_and_clears_the_graph
run_case load average_load_agrees_with_the_kernel
run_case about shift_f1_opens_about_right_click_copies_and_escape_hides
finish
