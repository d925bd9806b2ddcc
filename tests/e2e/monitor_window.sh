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

run_case topmost always_on_top_keeps_the_window_topmost
run_case not_topmost always_on_top_off_leaves_it_a_normal_window
run_case menu_tool_tip menu_hides_the_tool_tip
finish
