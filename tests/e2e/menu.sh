# The monitor window's pop-up menu and what it does, as a user meets them: the menu from the menu
# button and from a right-click, the location presets by their shortcut keys, the lock, dragging,
# the documents beside the program, the control buttons that hide themselves and the start-up
# banner. Look at the screenshots in build/windows/e2e/menu/.
source "$(dirname "$0")/lib.sh"

# A plain opaque window, so that a click anywhere on it reaches it (a see-through pixel would
# let the click through to the desktop) and the screenshots show exact colours.
OPAQUE=(Transparency=0 AlphaBlend=0)

# The menu as `menu` answers it: path, caption, shortcut, flags (a tab before each of the last two).
EXPECTED_MENU=$(
    cat <<'EOF'
0 About	Shift+F1	
1 Help		submenu
1.0 Help (online)	F1	
1.1 Forum (online)		
1.2 -		separator disabled
1.3 Version History		
1.4 Copyrights		
2 -		separator disabled
3 Settings	F4	
4 Statistics	F5	
5 CPU Information	F6	
6 -		separator disabled
7 Location...		submenu
7.0 Top-Left	Ctrl+Num 7	
7.1 Top-Right	Ctrl+Num 9	
7.2 Botom-Left	Ctrl+Num 1	
7.3 Botom-Right	Ctrl+Num 3	
7.4 Center	Ctrl+Num 5	
7.5 -		separator disabled
7.6 Lock the Form		
8 Show/Hide		
9 -		separator disabled
10 Exit	Alt+F4	
EOF
)

# Every value of the answers with KEY in FILE, one per line, in order.
all_values() {
    awk -v key="$1" 'index($0, key " ") == 1 { print substr($0, length(key) + 2) }' "$2"
}

# The menu answers of FILE from the Nth `menu` on (items of one menu follow each other; a menu
# starts again at item 0).
nth_menu() {
    awk -v n="$2" '/^item 0 / { count++ } count == n && /^item / { print substr($0, 6) }' "$1"
}

# Pixels of exactly COLOUR in the middle half (both ways) of RECT ("left top width height") of the
# screenshot SHOT.
middle_pixels() {
    local shot=$1 colour=$3 left top width height
    read -r left top width height <<<"$2"
    count_pixels "$shot" $((left + width / 4)) $((top + height / 4)) $((width / 2)) $((height / 2)) "$colour"
}

# Windows opens text files with Notepad; a fresh Wine prefix may lack the ".txt" extension's entry.
# Adds it for the case when it is missing and answers whether it did.
TXT_KEY='HKLM\Software\Classes\.txt'
add_txt_association() {
    local out="$CASE_DIR/txt.txt"
    drive reg-get "$TXT_KEY" '' >"$out"
    [ "$(value "reg $TXT_KEY\\" "$out")" = '<missing>' ] || return 1
    drive reg-set-string "$TXT_KEY" '' txtfile >/dev/null
}

menu_lists_presets_and_documents() {
    if add_txt_association; then
        # The case runs in a subshell of its own: its end, passed or failed, takes the entry away.
        # shellcheck disable=SC2016 # expanded when the trap runs
        trap 'drive reg-delete-key "$TXT_KEY" >/dev/null' EXIT
    fi
    fresh_app
    write_ini '[General]' "${OPAQUE[@]}"
    cp "$(dirname "$QUELMO_EXE")/Copyrights.txt" "$APP_DIR/" # History.txt stays missing
    local out="$CASE_DIR/menu.txt" history
    history=$(winpath "$APP_DIR/History.txt")
    drive_pausing screenshot "$out" start A "\"$APP\"" wait-window A TForm_Main \
        click SB_Menu wait-menu menu choose-menu Location... pause submenu keys Escape keys Escape \
        right-click Chart_CPUUsage wait-menu menu keys Escape \
        work-area activate \
        keys Ctrl+Num7 rect . keys Ctrl+Num9 rect . keys Ctrl+Num1 rect . keys Ctrl+Num3 rect . \
        keys Ctrl+Num5 rect . \
        click SB_Menu wait-menu choose-menu Help/Copyrights use-window Notepad wait-text . 'Copyrights.*' close wait-visible . 0 \
        find-window A TForm_Main click SB_Menu wait-menu choose-menu "Help/Version History" \
        wait-window A '#32770' get-message click-button OK \
        find-window A TForm_Main close wait-exit A 0 >/dev/null

    # The same menu, in the same order, from the button and from a right-click.
    [ "$(nth_menu "$out" 1)" = "$EXPECTED_MENU" ] || fail "the menu button's menu differs: $(nth_menu "$out" 1)"
    [ "$(nth_menu "$out" 2)" = "$EXPECTED_MENU" ] || fail "the right-click menu differs: $(nth_menu "$out" 2)"

    # Ctrl + numeric keypad 7, 9, 1, 3, 5: the corners of the work area and its middle.
    local wl wt ww wh
    read -r wl wt ww wh <<<"$(value work-area "$out")"
    local expected
    expected=$(printf '%s\n' "$wl $wt 250 105" "$((wl + ww - 250)) $wt 250 105" "$wl $((wt + wh - 105)) 250 105" \
        "$((wl + ww - 250)) $((wt + wh - 105)) 250 105" "$((wl + ww / 2 - 125)) $((wt + wh / 2 - 52)) 250 105")
    [ "$(all_values "rect TForm_Main" "$out")" = "$expected" ] ||
        fail "presets: $(all_values "rect TForm_Main" "$out" | tr '\n' ';') instead of $(tr '\n' ';' <<<"$expected")"

    # "Copyrights" opened the file beside the program (Notepad showed it); "Version History" warns.
    local message
    message=$(value message "$out")
    [[ "$message" == "Could not open the following file:\n\n$history\n\nError: "*" (2)." ]] ||
        fail "warning reads: $message"
}

controls_hide_banner_goes_drag_and_lock() {
    fresh_app
    write_ini '[General]' "${OPAQUE[@]}"
    local out="$CASE_DIR/drag.txt"
    drive_pausing screenshot "$out" start A "\"$APP\"" wait-window A TForm_Main pause banner rect Chart_CPUUsage \
        move-mouse Label_CPUSpeed move-mouse 1270,790 sleep 1000 visible SB_Menu \
        wait-visible SB_Menu 0 visible Image_Move visible SB_Hide visible SB_Close \
        sleep 2000 pause no-banner \
        move-mouse Label_CPUSpeed wait-visible SB_Menu 1 visible Image_Move visible SB_Hide visible SB_Close \
        rect . drag Image_Move 40,30 rect . \
        click SB_Menu wait-menu menu choose-menu "Location.../Lock the Form" \
        click SB_Menu wait-menu menu keys Escape \
        drag Image_Move 60,-20 rect . close wait-exit A 0 >/dev/null

    # The four buttons: shown a second after the mouse left the window, hidden 3 s after it left,
    # back with the next movement over the window.
    [ "$(all_values "visible SB_Menu" "$out" | tr -d '\n')" = 101 ] || fail "SB_Menu did not hide and come back"
    local control
    for control in Image_Move SB_Hide SB_Close; do
        [ "$(all_values "visible $control" "$out" | tr -d '\n')" = 01 ] || fail "$control did not hide and come back"
    done

    # The banner "Quelmo" (black text in the middle of the graph) is there at first, gone after 5 s.
    local chart before after
    chart=$(value "rect Chart_CPUUsage" "$out")
    before=$(middle_pixels "$CASE_DIR/banner.png" "$chart" '#000000')
    after=$(middle_pixels "$CASE_DIR/no-banner.png" "$chart" '#000000')
    echo "black pixels in the middle of the graph: $before at start, $after after 5 s"
    [ "$before" -ge 30 ] || fail "no banner at start"
    [ "$after" -le 2 ] || fail "the banner is still there"

    # Dragged by the handle: moved by the distance; locked (the item checked): stays.
    local rects
    mapfile -t rects < <(all_values "rect TForm_Main" "$out")
    local x0 y0 x1 y1
    read -r x0 y0 _ _ <<<"${rects[0]}"
    read -r x1 y1 _ _ <<<"${rects[1]}"
    [ "$x1 $y1" = "$((x0 + 40)) $((y0 + 30))" ] || fail "drag moved the window from ${rects[0]} to ${rects[1]}"
    [ "${rects[2]}" = "${rects[1]}" ] || fail "the locked window moved to ${rects[2]}"
    [ "$(nth_menu "$out" 1 | grep '^7.6 ')" = $'7.6 Lock the Form\t\t' ] || fail "checked before locking"
    [ "$(nth_menu "$out" 2 | grep '^7.6 ')" = $'7.6 Lock the Form\t\tchecked' ] || fail "no check mark when locked"

    # The place the window was dragged to and the lock are saved.
    [ "$(tr -d '\r' <"$INI" | grep -E '^(PosX|PosY|LockForm)=' | sort | tr '\n' ' ')" = \
        "LockForm=1 PosX=$x1 PosY=$y1 " ] || fail "saved: $(tr -d '\r' <"$INI" | grep -E '^(PosX|PosY|LockForm)=')"
}

run_case menu_presets_documents menu_lists_presets_and_documents
run_case hide_banner_drag_lock controls_hide_banner_goes_drag_and_lock
finish
