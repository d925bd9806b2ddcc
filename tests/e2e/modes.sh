# Window mode and tray mode as a user switches them: the hide button, a double-click on the tray
# icon, the hot key Ctrl+Alt+F11 and "Show/Hide"; starting in tray mode; HideTrayWhenVisible; a hot
# key that another program holds. Wine shows tray icons as windows of class __winex11_tray_icon
# in its own tray window, so the cases count those.
source "$(dirname "$0")/lib.sh"

TRAY=__winex11_standalone_tray
ICON=__winex11_tray_icon

# The value of KEY in the settings file FILE (CRLF line ends).
ini_value() {
    tr -d '\r' <"$2" | sed -n "s/^$1=//p" | head -1
}

hide_button_tray_hot_key_and_menu_switch_the_mode() {
    fresh_app
    # Opaque, so the click on the hide button is not let through by a see-through pixel.
    write_ini '[General]' Transparency=0
    drive start A "\"$APP\"" wait-window A TForm_Main use-window $TRAY wait-controls $ICON 1 \
        find-window A TForm_Main click SB_Hide wait-visible . 0 \
        use-window $TRAY wait-controls $ICON 1 double-click 0 find-window A TForm_Main wait-visible . 1 \
        keys Ctrl+Alt+F11 wait-visible . 0 keys Ctrl+Alt+F11 wait-visible . 1 \
        click SB_Menu wait-menu choose-menu Show/Hide wait-visible . 0 \
        use-window $TRAY double-click 0 find-window A TForm_Main wait-visible . 1 \
        close wait-exit A 0
    [ "$(ini_value AppTrayMode "$INI")" = 0 ] || fail "AppTrayMode saved as $(ini_value AppTrayMode "$INI")"
}

tray_mode_start_shows_only_the_icon_which_follows_hide_tray_when_visible() {
    fresh_app
    write_ini '[General]' AppTrayMode=1 HideTrayWhenVisible=1
    local out="$CASE_DIR/tray.txt"
    drive start A "\"$APP\"" use-window $TRAY wait-controls $ICON 1 find-window A TForm_Main sleep 500 \
        visible . \
        use-window $TRAY double-click 0 find-window A TForm_Main wait-visible . 1 \
        use-window $TRAY wait-controls $ICON 0 \
        keys Ctrl+Alt+F11 wait-controls $ICON 1 find-window A TForm_Main wait-visible . 0 \
        close wait-exit A 0 >"$out"
    [ "$(value "visible TForm_Main" "$out")" = 0 ] || fail "the window showed in tray mode"
    [ "$(ini_value AppTrayMode "$INI")" = 1 ] || fail "AppTrayMode saved as $(ini_value AppTrayMode "$INI")"
}

hot_key_held_by_another_program_is_dropped_and_saved_so() {
    fresh_app
    # A second copy of its own, with its own settings, starts while the first holds Ctrl+Alt+F11.
    local other_dir="$CASE_DIR/Program Files/new tools/second copy"
    rm -rf "$other_dir"
    mkdir -p "$other_dir"
    cp "$QUELMO_EXE" "$other_dir/Quelmo.exe"
    drive start A "\"$APP\"" wait-window A TForm_Main \
        start B "\"$(winpath "$other_dir/Quelmo.exe")\"" wait-window B TForm_Main close wait-exit B 0 \
        find-window A TForm_Main keys Ctrl+Alt+F11 wait-visible . 0 keys Ctrl+Alt+F11 wait-visible . 1 \
        close wait-exit A 0
    local second="$other_dir/Quelmo.ini"
    [ "$(ini_value AppModeHotkey "$second") $(ini_value AppModeHotkeyModifiers "$second")" = "0 0" ] ||
        fail "the refused hot key was saved as $(ini_value AppModeHotkey "$second")/$(ini_value AppModeHotkeyModifiers "$second")"
    [ "$(ini_value AppModeHotkey "$INI") $(ini_value AppModeHotkeyModifiers "$INI")" = "122 3" ] ||
        fail "the first copy lost its hot key"
}

run_case switches hide_button_tray_hot_key_and_menu_switch_the_mode
run_case tray_start tray_mode_start_shows_only_the_icon_which_follows_hide_tray_when_visible
run_case hot_key_taken hot_key_held_by_another_program_is_dropped_and_saved_so
finish
