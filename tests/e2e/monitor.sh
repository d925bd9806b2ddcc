# The monitor window as a user meets it: the labels come alive, the graph and the gauge are
# drawn in navy, and closing writes the settings file exactly once. The screenshots stay in
# build/windows/e2e/monitor/ for a look.
source "$(dirname "$0")/lib.sh"

# Control IDs of src/ui/ControlIds.h.
LABEL_CPU_SPEED=1003
LABEL_MEMORY_USED=1004
CHART=1007
GAUGE=1008
NAVY='#000080'

CLOCK_TEXT='[0-9]{1,3}(,[0-9]{3})* MHz'
MEMORY_TEXT='[0-9]{1,3}[.,][0-9]{2} %'

# Pixels of exactly COLOUR in the screenshot FILE within LEFT TOP WIDTH HEIGHT.
count_pixels() {
    local file=$1 left=$2 top=$3 width=$4 height=$5 colour=$6
    convert "$file" -crop "${width}x${height}+${left}+${top}" +repage txt:- | grep -ci -- "$colour" || true
}

# A busy loop on the machine, so the processor gauge shows more than 0 %.
BUSY=""
start_busy() {
    (while :; do :; done) &
    BUSY=$!
}
stop_busy() {
    [ -z "$BUSY" ] || kill "$BUSY" 2>/dev/null || true
    BUSY=""
}

# Runs the driver in the background until it signals, takes the screenshot NAME, and lets the
# driver go on; the driver stays in charge of Quelmo (and ends it if anything fails).
drive_with_screenshot() {
    local name=$1 out=$2
    shift 2
    local ready="$CASE_DIR/$name.ready" go="$CASE_DIR/$name.go" status=0
    rm -f "$ready" "$go"
    drive "$@" >"$out" &
    local driver=$!
    local waited=0
    while [ ! -e "$ready" ] && kill -0 "$driver" 2>/dev/null && [ "$waited" -lt 600 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    [ ! -e "$ready" ] || screenshot "$name"
    touch "$go"
    wait "$driver" || status=$?
    tr -d '\r' <"$out"
    return "$status"
}

labels_change_from_placeholders_to_values() {
    fresh_app
    local out="$CASE_DIR/labels.txt"
    # With the defaults the window is see-through white at opacity 200: kept for a look only.
    drive_with_screenshot defaults "$out" start A "\"$APP\"" wait-window A TForm_Main expect-text Quelmo \
        get-child-text $LABEL_CPU_SPEED get-child-text $LABEL_MEMORY_USED \
        timeout 10000 wait-child-text $LABEL_CPU_SPEED "$CLOCK_TEXT" \
        wait-child-text $LABEL_MEMORY_USED "$MEMORY_TEXT" \
        signal "$(winpath "$CASE_DIR/defaults.ready")" wait-file "$(winpath "$CASE_DIR/defaults.go")" \
        close wait-exit A 0
    # Right after the window appears the clock has not been measured yet (that takes half a
    # second); the memory label may already hold the first sample.
    local first_clock first_memory
    first_clock=$(tr -d '\r' <"$out" | sed -n 4p)
    first_memory=$(tr -d '\r' <"$out" | sed -n 5p)
    [[ "$first_clock" == "? MHz" || "$first_clock" =~ ^$CLOCK_TEXT$ ]] || fail "clock label read \"$first_clock\""
    [[ "$first_memory" == "? MB" || "$first_memory" =~ ^$MEMORY_TEXT$ ]] ||
        fail "memory label read \"$first_memory\""
}

screenshot_shows_navy_graph_and_gauge() {
    fresh_app
    printf '[General]\r\nTransparency=0\r\nAlphaBlend=0\r\n' >"$INI"
    local out="$CASE_DIR/rects.txt" status=0
    start_busy
    drive_with_screenshot graph "$out" start A "\"$APP\"" wait-window A TForm_Main timeout 20000 \
        wait-child-text $LABEL_MEMORY_USED "$MEMORY_TEXT" wait-child-text $GAUGE '[1-9][0-9]*%' \
        sleep 1500 child-rect $CHART child-rect $GAUGE \
        signal "$(winpath "$CASE_DIR/graph.ready")" wait-file "$(winpath "$CASE_DIR/graph.go")" \
        close wait-exit A 0 || status=$?
    stop_busy
    [ "$status" = 0 ] || return "$status"
    local chart gauge
    chart=$(tr -d '\r' <"$out" | grep -E '^[0-9-]+ [0-9-]+ [0-9]+ [0-9]+$' | sed -n 1p)
    gauge=$(tr -d '\r' <"$out" | grep -E '^[0-9-]+ [0-9-]+ [0-9]+ [0-9]+$' | sed -n 2p)
    local shot="$CASE_DIR/graph.png"
    local chart_navy gauge_navy chart_white
    # shellcheck disable=SC2086 # the rectangles are four numbers each
    chart_navy=$(count_pixels "$shot" $chart "$NAVY")
    # shellcheck disable=SC2086
    gauge_navy=$(count_pixels "$shot" $gauge "$NAVY")
    # shellcheck disable=SC2086
    chart_white=$(count_pixels "$shot" $chart '#FFFFFF')
    echo "chart at $chart, gauge at $gauge: navy pixels graph $chart_navy, gauge $gauge_navy; white $chart_white"
    [ "$chart_navy" -ge 20 ] || fail "no navy graph line in the chart area"
    [ "$gauge_navy" -ge 20 ] || fail "no navy bar in the gauge area"
    # Transparency off: the back wall is the window colour, not the screen behind it.
    [ "$chart_white" -ge 5000 ] || fail "the chart's back wall is not white"
}

closing_writes_the_settings_once() {
    fresh_app
    drive start A "\"$APP\"" wait-window A TForm_Main wait-child-text $LABEL_MEMORY_USED "$MEMORY_TEXT" \
        close-expecting-writes A "$(winpath "$INI")" 1
    [ -f "$INI" ] || fail "no settings file"
    tr -d '\r' <"$INI" | grep -qx 'FirstLaunch=0' || fail "FirstLaunch is not 0"
}

trap stop_busy EXIT
run_case labels labels_change_from_placeholders_to_values
run_case graph screenshot_shows_navy_graph_and_gauge
run_case close_saves_once closing_writes_the_settings_once
finish
