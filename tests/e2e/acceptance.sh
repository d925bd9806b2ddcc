# The user stories no other script covers end to end (tests/e2e/README.md lists every story and the
# case that covers it): the first start in an empty folder, a change made in the settings dialog
# that is still there after a restart, and a settings file full of junk or too big to read.
source "$(dirname "$0")/lib.sh"

MEMORY_TEXT='[0-9]{1,3}[.,][0-9]{2} %'
# Xvfb's screen is 1280 x 800: the first start centres the 250 x 105 window on it.
CENTRED='515 347 250 105'

ini_value() {
    tr -d '\r' <"$INI" | awk -F= -v key="$1" '$1 == key { print substr($0, length(key) + 2); exit }'
}

expect_ini() {
    [ "$(ini_value "$1")" = "$2" ] || fail "$1 is \"$(ini_value "$1")\" in the settings file, not $2"
}

# A busy loop in bursts, so the gauge and the graph show some load in the screenshot.
BUSY=""
stop_busy() {
    [ -z "$BUSY" ] || kill "$BUSY" 2>/dev/null || true
    BUSY=""
}

first_start_is_centred_writes_the_defaults_and_the_next_start_opens_where_it_was_left() {
    fresh_app
    local out="$CASE_DIR/first.txt" status=0
    # Bursts of load, so the graph has some shape.
    (while :; do timeout 0.8 bash -c 'while :; do :; done' || true; sleep 0.6; done) &
    BUSY=$!
    # The pointer away from the window, so its buttons have hidden when the screenshot is taken.
    drive_with_screenshot first-start "$out" start A "\"$APP\"" wait-window A TForm_Main rect . layered . \
        move-mouse 1200,700 timeout 20000 wait-text Label_MemoryUsed "$MEMORY_TEXT" \
        wait-text Gauge_CPUUsage '[1-9][0-9]*%' sleep 6000 wait-visible Image_Move 0 signal-shot \
        move-mouse Label_CPUSpeed wait-visible Image_Move 1 drag Image_Move 40,30 rect . \
        close wait-exit A 0 || status=$?
    stop_busy
    [ "$status" = 0 ] || return "$status"
    [ "$(value "rect TForm_Main" "$out")" = "$CENTRED" ] || fail "first start at $(value "rect TForm_Main" "$out")"
    [[ "$(value "layered TForm_Main" "$out")" =~ ^alpha\ 200\ .*(FFFFFF|ffffff|16777215) ]] ||
        fail "not see-through white at 200: $(value "layered TForm_Main" "$out")"
    # The window as the README shows it: cut from the screen with a margin of desktop around it.
    convert "$CASE_DIR/first-start.png" -crop 290x145+495+327 +repage "$CASE_DIR/quelmo-window.png"

    [ -f "$INI" ] || fail "no settings file after the first exit"
    [ "$(grep -c '=' "$INI")" = 34 ] || fail "not 34 keys"
    expect_ini FirstLaunch 0
    expect_ini Rate 500
    expect_ini PosX 555
    expect_ini PosY 377
    drive start B "\"$APP\"" wait-window B TForm_Main rect . close wait-exit B 0 >"$out"
    [ "$(value "rect TForm_Main" "$out")" = "555 377 250 105" ] ||
        fail "the second start is at $(value "rect TForm_Main" "$out"), not where the window was left"
}

dialog_changes_are_still_there_after_a_restart() {
    fresh_app
    write_ini '[General]' FirstLaunch=0 '[Location]' PosX=40 PosY=560
    local out="$CASE_DIR/dialog.txt"
    # Always on top off (General: "requires a restart", so the window stays topmost until then) and
    # the width 320 (Display, at once), then close the dialog and Quelmo.
    drive start A "\"$APP\"" wait-window A TForm_Main expect-style . WS_EX_TOPMOST on activate keys F4 \
        wait-window A TForm_Settings click CheckBox_AlwaysOnTop checked CheckBox_AlwaysOnTop \
        keys Ctrl+Tab keys Alt+W type 320 keys Escape wait-visible . 0 \
        find-window A TForm_Main expect-style . WS_EX_TOPMOST on close wait-exit A 0 >"$out"
    [ "$(value "checked CheckBox_AlwaysOnTop" "$out")" = 0 ] || fail "the click did not clear the box"
    # The next start: the window as it was left, and the dialog shows the same.
    drive start B "\"$APP\"" wait-window B TForm_Main expect-style . WS_EX_TOPMOST off rect . \
        activate keys F4 wait-window B TForm_Settings checked CheckBox_AlwaysOnTop \
        keys Escape wait-visible . 0 find-window B TForm_Main close wait-exit B 0 >"$out"
    [ "$(value "rect TForm_Main" "$out")" = "40 560 320 105" ] || fail "restarted at $(value "rect TForm_Main" "$out")"
    [ "$(value "checked CheckBox_AlwaysOnTop" "$out")" = 0 ] || fail "the dialog shows always on top again"
    expect_ini AlwaysOnTop 0
    expect_ini PosWidth 320
}

# Deterministic junk: N bytes of every value, NUL and line breaks included.
junk() {
    perl -e 'srand($ARGV[1]); print map { chr(int(rand(256))) } 1 .. $ARGV[0]' "$1" "$2"
}

junk_settings_file_starts_and_keeps_what_the_user_wrote() {
    fresh_app
    local huge
    huge=$(head -c 1048576 /dev/zero | tr '\0' x)
    {
        junk 65536 7
        printf '\r\n[General]\r\nRate=1000\r\n[Mine]\r\nkeep=this\r\nhuge=%s\r\n' "$huge"
        junk 4096 8
        printf '\r\n[Colors]\r\nBarColor=255\r\n'
    } >"$INI"
    drive start A "\"$APP\"" wait-window A TForm_Main wait-text Label_MemoryUsed "$MEMORY_TEXT" \
        close wait-exit A 0 >/dev/null
    # The settings the file held were read (and saved back); what the user wrote is all there.
    expect_ini Rate 1000
    expect_ini BarColor 255
    expect_ini FirstLaunch 0
    expect_ini keep this
    [ "$(ini_value huge)" = "$huge" ] || fail "the 1 MB line lost characters"
    local key
    for key in AlwaysOnTop PosX BackgroundColor; do
        [ -n "$(ini_value "$key")" ] || fail "$key missing"
    done
}

too_big_settings_file_is_left_untouched() {
    fresh_app
    { printf '[General]\r\nRate=1000\r\n[Mine]\r\n'; junk 1048576 9; head -c 16777216 /dev/zero; } >"$INI"
    cp "$INI" "$CASE_DIR/big-before.ini"
    drive start A "\"$APP\"" wait-window A TForm_Main wait-text Label_MemoryUsed "$MEMORY_TEXT" \
        close wait-exit A 0 >/dev/null
    cmp -s "$CASE_DIR/big-before.ini" "$INI" || fail "the file too big to read was changed"
    rm -f "$CASE_DIR/big-before.ini"
}

trap stop_busy EXIT
run_case first_start first_start_is_centred_writes_the_defaults_and_the_next_start_opens_where_it_was_left
run_case dialog_restart dialog_changes_are_still_there_after_a_restart
run_case junk_settings junk_settings_file_starts_and_keeps_what_the_user_wrote
run_case big_settings too_big_settings_file_is_left_untouched
finish
