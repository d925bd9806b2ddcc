# The start-up shell as a user meets it: the command-line switches, the start-with-Windows
# registration, the settings file written on exit, the counter prompt, two copies side by side.
source "$(dirname "$0")/lib.sh"

PERFLIB_KEY='HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Perflib'
KEYS=(FirstLaunch AlwaysOnTop Rate GraphLength AlphaBlend AlphaBlendValue Transparency ThickerGraph
      LockForm UpdateSpeed DisplayMemory MemoryAsPercentage HideBarGraph NumericTrayIcons
      HideTrayWhenVisible AutoHideControls ShowFreeMemory UsePhysicalMemory DisplayEachCPU AppTrayMode
      AppModeHotkey AppModeHotkeyModifiers PosX PosY PosWidth PosHeight BackgroundColor GraphCPUColor1
      GraphCPUColor2 GraphCPUColor3 GraphCPUColor4 GraphMemoryColor BarColor TextColor)

no_settings_file() {
    [ ! -e "$INI" ] || fail "a settings file was written, so a main window existed"
}

# The value of KEY in the settings file (CRLF line ends).
ini_value() {
    tr -d '\r' <"$INI" | sed -n "s/^$1=//p" | head -1
}

install_yes_registers_without_a_window() {
    fresh_app
    drive reg-delete-value "$RUN_KEY" Quelmo \
        start A "\"$APP\" /install" \
        wait-window A '#32770' expect-text . Quelmo expect-message "Run Quelmo when Windows starts?" \
        expect-no-window A TForm_Main \
        click-button Yes wait-exit A 0 \
        expect-reg "$RUN_KEY" Quelmo "\"$APP\"" reg-delete-value "$RUN_KEY" Quelmo
    no_settings_file
}

install_no_leaves_the_registry() {
    fresh_app
    drive reg-set-string "$RUN_KEY" Quelmo "left alone" \
        start A "\"$APP\" /install" wait-window A '#32770' click-button No wait-exit A 0 \
        expect-reg "$RUN_KEY" Quelmo "left alone" \
        start B "\"$APP\" /install" wait-window B '#32770' click-button Cancel wait-exit B 0 \
        expect-reg "$RUN_KEY" Quelmo "left alone" \
        reg-delete-value "$RUN_KEY" Quelmo
    no_settings_file
}

install_without_rights_shows_the_error_and_exits_1() {
    fresh_app
    local status=0
    drive reg-delete-value "$RUN_KEY" Quelmo reg-deny-write "$RUN_KEY" \
        start A "\"$APP\" /install" wait-window A '#32770' click-button Yes \
        wait-window A '#32770' expect-message-error 5 expect-no-window A TForm_Main click-button OK \
        wait-exit A 1 || status=$?
    drive reg-allow-write "$RUN_KEY" expect-reg "$RUN_KEY" Quelmo '<missing>'
    no_settings_file
    return "$status"
}

uninstall_alone_removes_silently() {
    fresh_app
    drive reg-set-string "$RUN_KEY" Quelmo registered \
        timeout 8000 start A "\"$APP\" /uninstall" wait-exit A 0 \
        expect-reg "$RUN_KEY" Quelmo '<missing>'
    no_settings_file
}

uninstall_while_running_removes_then_warns() {
    fresh_app
    drive reg-set-string "$RUN_KEY" Quelmo registered \
        start Running "\"$APP\"" wait-window Running TForm_Main \
        start U "\"$APP\" /uninstall" wait-window U '#32770' \
        expect-reg "$RUN_KEY" Quelmo '<missing>' \
        expect-message $'It seems that Quelmo is currently running.\n\nPlease close it, before continuing...' \
        expect-no-window U TForm_Main click-button OK wait-exit U 0 \
        wait-window Running TForm_Main close wait-exit Running 0
}

normal_start_and_close_writes_all_settings() {
    fresh_app
    drive start A "\"$APP\"" wait-window A TForm_Main expect-text . Quelmo close wait-exit A 0
    [ -f "$INI" ] || fail "no settings file"
    local key
    for key in "${KEYS[@]}"; do
        [ -n "$(ini_value "$key")" ] || fail "$key missing"
    done
    [ "$(grep -c '=' "$INI")" = 34 ] || fail "not 34 keys"
    [ "$(ini_value FirstLaunch)" = 0 ] || fail "FirstLaunch is not 0"
    [ "$(tr -d '\r' <"$INI" | grep '^\[')" = "$(printf '[General]\n[Location]\n[Colors]')" ] ||
        fail "sections differ"
}

settings_file_is_read_and_kept() {
    fresh_app
    write_ini '; my notes' '[General]' 'Rate=$3E8' FirstLaunch=0 '[Mine]' keep=this '[Location]' PosWidth=0x12C
    drive start A "\"$APP\"" wait-window A TForm_Main close wait-exit A 0
    [ "$(ini_value Rate)" = 1000 ] || fail "Rate not read"
    [ "$(ini_value PosWidth)" = 300 ] || fail "PosWidth not read"
    [ "$(ini_value keep)" = this ] || fail "foreign section lost"
    ! grep -q 'my notes' "$INI" || fail "comment kept"
    [ "$(grep -c '=' "$INI")" = 35 ] || fail "expected 34 keys and the foreign one"
}

# The settings file as Notepad saves it in "Unicode": UTF-16 LE with its byte-order mark.
write_ini_utf16() {
    {
        printf '\xff\xfe'
        printf '%s\r\n' "$@" | iconv -f UTF-8 -t UTF-16LE
    } >"$INI"
}

utf16_settings_file_is_read_and_saved_as_utf16() {
    fresh_app
    write_ini_utf16 '[General]' AlphaBlendValue=150 '[Mine]' 'Café=1'
    local out="$CASE_DIR/utf16.txt"
    drive start A "\"$APP\"" wait-window A TForm_Main layered . close wait-exit A 0 >"$out"
    [[ "$(value "layered TForm_Main" "$out")" == "alpha 150 "* ]] ||
        fail "opacity: $(value "layered TForm_Main" "$out")"
    [ "$(head -c 2 "$INI" | od -An -tx1 | tr -d ' ')" = fffe ] || fail "the UTF-16 mark is gone"
    local text
    text=$(iconv -f UTF-16 -t UTF-8 <"$INI" | tr -d '\r') || fail "not UTF-16 any more"
    grep -qx 'Café=1' <<<"$text" || fail "the foreign key lost its letters"
    grep -qx 'FirstLaunch=0' <<<"$text" || fail "FirstLaunch=0 not saved"
}

read_only_settings_file_is_left_alone() {
    fresh_app
    write_ini '[General]' Rate=1000 '[Mine]' keep=this
    chmod 444 "$INI" # Wine shows a file that nobody may write as read-only
    cp "$INI" "$CASE_DIR/read-only-before.ini"
    drive start A "\"$APP\"" wait-window A TForm_Main close wait-exit A 0
    chmod 644 "$INI"
    cmp "$CASE_DIR/read-only-before.ini" "$INI" || fail "the read-only settings file was changed"
    [ "$(ls -A "$APP_DIR" | tr '\n' ' ')" = "Quelmo.exe Quelmo.ini " ] || fail "left behind: $(ls -A "$APP_DIR")"
}

switches_in_other_case_or_place_start_normally() {
    fresh_app
    drive reg-delete-value "$RUN_KEY" Quelmo \
        start A "\"$APP\" /INSTALL" wait-window A TForm_Main expect-no-window A '#32770' close wait-exit A 0 \
        start B "\"$APP\" extra /install" wait-window B TForm_Main close wait-exit B 0 \
        expect-reg "$RUN_KEY" Quelmo '<missing>'
}

two_copies_run_side_by_side() {
    fresh_app
    drive start A "\"$APP\"" wait-window A TForm_Main start B "\"$APP\"" wait-window B TForm_Main \
        close wait-exit B 0 wait-window A TForm_Main close wait-exit A 0
}

disabled_counters_prompt_enables_them_on_yes() {
    fresh_app
    local status=0
    drive reg-set-dword "$PERFLIB_KEY" 'Disable Performance Counters' 1 \
        start A "\"$APP\"" wait-window A '#32770' \
        expect-message $'Performance counters are disabled. Application cannot function correctly.\n\nTry to enable performance counters?' \
        click-button Yes wait-window A TForm_Main close wait-exit A 0 \
        expect-reg "$PERFLIB_KEY" 'Disable Performance Counters' 0 || status=$?
    drive reg-delete-value "$PERFLIB_KEY" 'Disable Performance Counters'
    return "$status"
}

run_case install_yes install_yes_registers_without_a_window
run_case install_no install_no_leaves_the_registry
run_case install_denied install_without_rights_shows_the_error_and_exits_1
run_case uninstall_alone uninstall_alone_removes_silently
run_case uninstall_running uninstall_while_running_removes_then_warns
run_case start_and_close normal_start_and_close_writes_all_settings
run_case settings_kept settings_file_is_read_and_kept
run_case settings_utf16 utf16_settings_file_is_read_and_saved_as_utf16
run_case settings_read_only read_only_settings_file_is_left_alone
run_case not_switches switches_in_other_case_or_place_start_normally
run_case two_copies two_copies_run_side_by_side
run_case counters_prompt disabled_counters_prompt_enables_them_on_yes
finish
