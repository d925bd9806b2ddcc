# The settings dialog as a user meets it: F4 opens it, each tab is kept as a screenshot in
# build/windows/e2e/settings/ for a look, every change shows on the monitor window at once and is
# in the settings file after exit, a refused start-with-Windows registration is explained, and a
# new hot key works once the dialog is closed.
source "$(dirname "$0")/lib.sh"

FRAME_GREY='#808080' # the frame of the tray's level pictures; the numeric ones have none
TRAY_AREA=(3 22 22 19)  # the first icon in Wine's system tray window, without the window's frame

# Like drive_with_screenshot, with one screenshot per `signal-shot`, named in order by NAMES; a
# function shoot_NAME, where there is one, takes that screenshot instead.
drive_with_screenshots() {
    local -a names
    read -r -a names <<<"$1"
    local out=$2 args=() arg n=0 status=0
    shift 2
    for arg in "$@"; do
        if [ "$arg" = signal-shot ]; then
            rm -f "$CASE_DIR/${names[$n]}".{ready,go}
            args+=(signal "$(winpath "$CASE_DIR/${names[$n]}.ready")" wait-file "$(winpath "$CASE_DIR/${names[$n]}.go")")
            n=$((n + 1))
        else
            args+=("$arg")
        fi
    done
    drive "${args[@]}" >"$out" &
    local driver=$! name waited
    for name in "${names[@]}"; do
        waited=0
        while [ ! -e "$CASE_DIR/$name.ready" ] && kill -0 "$driver" 2>/dev/null && [ "$waited" -lt 600 ]; do
            sleep 0.1
            waited=$((waited + 1))
        done
        if [ -e "$CASE_DIR/$name.ready" ]; then
            if declare -F "shoot_$name" >/dev/null; then "shoot_$name"; else screenshot "$name"; fi
        fi
        touch "$CASE_DIR/$name.go"
    done
    wait "$driver" || status=$?
    cat "$out"
    return "$status"
}

# The value of KEY in the settings file.
ini_value() {
    tr -d '\r' <"$INI" | awk -F= -v key="$1" '$1 == key { print $2; exit }'
}

expect_ini() {
    local key=$1 expected=$2 actual
    actual=$(ini_value "$key")
    [ "$actual" = "$expected" ] || fail "$key is \"$actual\" in the settings file, not $expected"
}

tabs_open_with_f4_and_a_new_hot_key_works_once_the_dialog_hides() {
    fresh_app
    local out="$CASE_DIR/tabs.txt"
    drive_with_screenshots "general display colors extended" "$out" start A "\"$APP\"" \
        wait-window A TForm_Main activate keys F4 wait-window A TForm_Settings move-mouse 1270,790 \
        expect-text . 'Quelmo - Settings' expect-text StaticText_Hint 'Any changes will have a real-time effect!' \
        expect-text CheckBox_UpdateSpeed '&Update processor speed continuously ' \
        signal-shot keys Ctrl+Tab signal-shot keys Ctrl+PageDown signal-shot keys Ctrl+Tab signal-shot \
        keys Ctrl+PageDown visible CheckBox_AutoRun \
        keys Alt+H keys Ctrl+Shift+F11 keys Tab keys Ctrl+Shift+F11 sleep 700 \
        find-window A TForm_Main visible . \
        find-window A TForm_Settings keys Escape wait-visible . 0 \
        keys Ctrl+Shift+F11 find-window A TForm_Main wait-visible . 0 keys Ctrl+Shift+F11 wait-visible . 1 \
        close wait-exit A 0
    # Ctrl+Page Down from the last tab comes back to the first.
    [ "$(value "visible CheckBox_AutoRun" "$out")" = 1 ] || fail "not back on General"
    # Before the dialog hid, the new keys did nothing.
    [ "$(value "visible TForm_Main" "$out")" = 1 ] || fail "the hot key changed before the dialog hid"
    expect_ini AppModeHotkey 122
    expect_ini AppModeHotkeyModifiers 6
}

CUSTOM='#0C2238' # (12, 34, 56)
WINDOW=(40 560 250 105)
# The colour dialog takes a moment to go (Wine waits for a window manager when it hides a
# captioned window); the colour applies once it has.
shoot_background() {
    local tries=0
    while screenshot background && [ "$(count_pixels "$CASE_DIR/background.png" "${WINDOW[@]}" "$CUSTOM")" -lt 5000 ] &&
        [ "$tries" -lt 40 ]; do
        sleep 0.25
        tries=$((tries + 1))
    done
}

changes_show_at_once_and_are_saved_at_exit() {
    fresh_app
    # Opaque colours, and the window clear of the dialog in the middle of the screen.
    write_ini '[General]' FirstLaunch=0 Transparency=0 AlphaBlend=0 '[Location]' "PosX=${WINDOW[0]}" \
        "PosY=${WINDOW[1]}" PosWidth=300
    local out="$CASE_DIR/changes.txt" red=706 green=707 blue=708
    drive_with_screenshots "levels numbers background" "$out" start A "\"$APP\"" \
        wait-window A TForm_Main activate keys F4 wait-window A TForm_Settings \
        keys Ctrl+Tab keys Alt+W type 2 find-window A TForm_Main rect . \
        find-window A TForm_Settings type 50 find-window A TForm_Main rect . \
        find-window A TForm_Settings sleep 800 signal-shot keys Alt+N sleep 1500 signal-shot \
        keys Ctrl+Tab keys Alt+B keys Home wait-window A '#32770' \
        click $red keys End keys Shift+Home type 12 click $green keys End keys Shift+Home type 34 \
        click $blue keys End keys Shift+Home type 56 keys Enter \
        find-window A TForm_Settings keys Alt+R type R \
        signal-shot \
        find-window A TForm_Settings keys Ctrl+Tab keys Alt+R keys Home \
        keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown \
        keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown \
        keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown \
        expect-text Label_Rate 1000 keys Escape wait-visible . 0 find-window A TForm_Main close wait-exit A 0
    # "2" is no width yet; "250" is.
    local widths
    widths=$(grep '^rect TForm_Main' "$out" | awk '{ print $5 }' | tr '\n' ' ')
    [ "$widths" = "300 250 " ] || fail "widths after typing 2 and 250: $widths"

    # The tray icon's picture list switched from levels to numbers.
    local levels numbers
    levels=$(count_pixels "$CASE_DIR/levels.png" "${TRAY_AREA[@]}" "$FRAME_GREY")
    numbers=$(count_pixels "$CASE_DIR/numbers.png" "${TRAY_AREA[@]}" "$FRAME_GREY")
    echo "tray frame pixels: levels $levels, numbers $numbers"
    [ "$levels" -ge 20 ] && [ "$numbers" = 0 ] || fail "the tray icon did not switch to numbers"

    # The custom colour is the window's colour now.
    local coloured
    coloured=$(count_pixels "$CASE_DIR/background.png" "${WINDOW[@]}" "$CUSTOM")
    echo "$coloured pixels of the custom colour in the window"
    [ "$coloured" -ge 5000 ] || fail "the window is not in the custom colour"

    expect_ini PosWidth 250
    expect_ini NumericTrayIcons 1
    expect_ini BackgroundColor $((56 * 65536 + 34 * 256 + 12))
    expect_ini BarColor 255 # "Red", found by typing R
    expect_ini Rate 1000
}

refused_auto_run_is_explained_and_the_box_shows_the_truth() {
    fresh_app
    local out="$CASE_DIR/autorun.txt" status=0
    drive reg-delete-value "$RUN_KEY" Quelmo reg-deny-write "$RUN_KEY" \
        start A "\"$APP\"" wait-window A TForm_Main activate keys F4 wait-window A TForm_Settings \
        keys Alt+A wait-window A '#32770' get-message click-button OK \
        find-window A TForm_Settings checked CheckBox_AutoRun reg-allow-write "$RUN_KEY" \
        click CheckBox_AutoRun expect-reg "$RUN_KEY" Quelmo "\"$APP\"" checked CheckBox_AutoRun \
        click CheckBox_AutoRun expect-reg "$RUN_KEY" Quelmo '<missing>' \
        find-window A TForm_Main close wait-exit A 0 >"$out" || status=$?
    drive reg-allow-write "$RUN_KEY" reg-delete-value "$RUN_KEY" Quelmo >/dev/null
    cat "$out"
    [ "$status" = 0 ] || return "$status"
    local message
    message=$(value message "$out")
    [[ "$message" =~ ^Failed\ to\ apply\ system\ settings\.\\n\\nError:\ .+\\n\\n\(Try\ to\ start\ the\ program\ as\ administrator\ to\ apply\ these\ settings\)$ ]] ||
        fail "message: $message"
    [ "$(value "checked CheckBox_AutoRun" "$out")" = 0 ] || fail "the box shows a registration that failed"
    [ "$(grep '^checked CheckBox_AutoRun' "$out" | sed -n 2p)" = "checked CheckBox_AutoRun 1" ] ||
        fail "the box does not show the registration"
}

rate_1000_makes_the_statistics_read_one_second_per_sample() {
    fresh_app
    write_ini '[General]' FirstLaunch=0 '[Location]' PosX=40 PosY=60
    local out="$CASE_DIR/rate.txt" status=0
    drive start A "\"$APP\"" wait-window A TForm_Main activate keys F4 wait-window A TForm_Settings \
        keys Ctrl+PageUp keys Alt+R keys Home keys PageDown keys PageDown keys PageDown keys PageDown \
        keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown \
        keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown keys PageDown \
        expect-text Label_Rate 1000 keys Escape wait-visible . 0 \
        find-window A TForm_Main activate keys F5 wait-window A TForm_Statistics list-controls >"$out"
    if ! grep -q "^control $(rate_label_id) " "$out"; then
        drive attach A TForm_Main close wait-exit A 0 >/dev/null
        echo "skipped: this build's statistics window has no Actual Rate"
        return 0
    fi
    # Counted from a reset after the change, in whole seconds over about twelve samples.
    drive attach A TForm_Statistics click SpeedButton_Reset wait-text Label_Samples 0 sleep 12500 \
        get-text Label_StatisticsRate find-window A TForm_Main close wait-exit A 0 >>"$out" || status=$?
    cat "$out"
    [ "$status" = 0 ] || return "$status"
    local rate
    rate=$(value "text Label_StatisticsRate" "$out")
    [[ "$rate" =~ ^(0\.9[0-9]{2}|1\.0[0-9]{2}|1\.100)\ s$ ]] || fail "Actual Rate reads \"$rate\", not about 1.000 s"
}

# The number of Label_StatisticsRate in src/ui/ControlIds.h.
rate_label_id() {
    sed -n 's/^ *kLabel_StatisticsRate = \([0-9]*\),.*/\1/p' "$REPO/src/ui/ControlIds.h"
}

run_case tabs tabs_open_with_f4_and_a_new_hot_key_works_once_the_dialog_hides
run_case changes changes_show_at_once_and_are_saved_at_exit
run_case autorun refused_auto_run_is_explained_and_the_box_shows_the_truth
run_case rate rate_1000_makes_the_statistics_read_one_second_per_sample
finish
