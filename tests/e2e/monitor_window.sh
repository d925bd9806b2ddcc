# The monitor window itself: it stays on top as the settings say, a tool tip never covers the open
# menu, and its parts stay apart and readable at the smallest and the default size. The
# screenshots stay in build/windows/e2e/monitor_window/ for a look.
source "$(dirname "$0")/lib.sh"

# Reads WS_EX_TOPMOST after the first show, after a switch to tray mode and back, and after another
# program's window was activated; STATE is on or off.
topmost_through_show_mode_and_activation() {
    local setting=$1 state=$2
    fresh_app
    write_ini '[General]' FirstLaunch=0 "AlwaysOnTop=$setting" '[Location]' PosX=200 PosY=200
    drive start A "\"$APP\"" wait-window A TForm_Main expect-style . WS_EX_TOPMOST "$state" \
        keys Ctrl+Alt+F11 wait-visible . 0 keys Ctrl+Alt+F11 wait-visible . 1 \
        expect-style . WS_EX_TOPMOST "$state" \
        start N notepad.exe wait-window N Notepad activate sleep 500 \
        find-window A TForm_Main expect-style . WS_EX_TOPMOST "$state" \
        find-window N Notepad close wait-exit N 0 find-window A TForm_Main close wait-exit A 0
}

always_on_top_keeps_the_window_topmost() {
    topmost_through_show_mode_and_activation 1 on
}

always_on_top_off_leaves_it_a_normal_window() {
    topmost_through_show_mode_and_activation 0 off
}

# The user moves to the menu button and clicks it before its tool tip is up: the tool tip must not
# come up over the open menu afterwards (nor lift the window above it).
menu_hides_the_tool_tip() {
    fresh_app
    write_ini '[General]' FirstLaunch=0 '[Location]' PosX=200 PosY=200
    local out="$CASE_DIR/tooltip.txt"
    drive_with_screenshot menu_open "$out" start A "\"$APP\"" wait-window A TForm_Main \
        move-mouse Label_CPUSpeed move-mouse SB_Menu click SB_Menu wait-menu sleep 1500 list-windows A \
        signal-shot keys Escape close wait-exit A 0
    if grep -q '^window tooltips_class32 visible' "$out"; then
        fail "a tool tip is shown over the open menu"
    fi
}

# "L T W H" rectangles overlap?
overlap() {
    local a b
    read -r -a a <<<"$1"
    read -r -a b <<<"$2"
    [ $((a[0])) -lt $((b[0] + b[2])) ] && [ $((b[0])) -lt $((a[0] + a[2])) ] &&
        [ $((a[1])) -lt $((b[1] + b[3])) ] && [ $((b[1])) -lt $((a[1] + a[3])) ]
}

# At WIDTH x HEIGHT, with the control buttons shown: the shown labels keep apart from each other and
# from the buttons, and at least one of them is shown. The screenshot NAME is for a look.
parts_stay_apart() {
    local name=$1 width=$2 height=$3
    fresh_app
    write_ini '[General]' FirstLaunch=0 Transparency=0 AlphaBlend=0 \
        '[Location]' PosX=200 PosY=200 "PosWidth=$width" "PosHeight=$height"
    local out="$CASE_DIR/$name.txt" parts=(SB_Menu SB_Hide Label_CPUSpeed Label_MemoryUsed) part
    local commands=(start A "\"$APP\"" wait-window A TForm_Main timeout 20000
        wait-text Label_CPUSpeed '[0-9,]+ MHz' wait-text Label_MemoryUsed '.+ %' sleep 1000
        move-mouse Chart_CPUUsage move-mouse Gauge_CPUUsage wait-visible SB_Menu 1)
    for part in "${parts[@]}"; do
        commands+=(rect "$part" visible "$part")
    done
    drive_with_screenshot "$name" "$out" "${commands[@]}" signal-shot close wait-exit A 0
    local shown=() i j
    for part in "${parts[@]}"; do
        [ "$(value "visible $part" "$out")" = 0 ] || shown+=("$part")
    done
    [ "${#shown[@]}" -ge 3 ] || fail "no label is shown"
    for ((i = 0; i < ${#shown[@]}; i++)); do
        for ((j = i + 1; j < ${#shown[@]}; j++)); do
            ! overlap "$(value "rect ${shown[i]}" "$out")" "$(value "rect ${shown[j]}" "$out")" ||
                fail "${shown[i]} and ${shown[j]} overlap"
        done
    done
}

smallest_size_keeps_the_parts_apart() {
    parts_stay_apart smallest 170 70
}

default_size_keeps_the_parts_apart() {
    parts_stay_apart default 250 105
}

run_case topmost always_on_top_keeps_the_window_topmost
run_case not_topmost always_on_top_off_leaves_it_a_normal_window
run_case menu_tool_tip menu_hides_the_tool_tip
run_case smallest_size smallest_size_keeps_the_parts_apart
run_case default_size default_size_keeps_the_parts_apart
finish
