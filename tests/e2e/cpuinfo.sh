# The CPU information window as a user meets it: F6 opens it, the processor explorer shows this
# machine's processors with the same rows quelmo-cpuinfo prints, the set combo refills the
# feature list, Close hides it and F6 brings back the same tree. The screenshots stay in
# build/windows/e2e/cpuinfo/ for a look.
source "$(dirname "$0")/lib.sh"

CPUINFO_EXE="$(dirname "$QUELMO_EXE")/quelmo-cpuinfo.exe"
SPEED_TEXT='[0-9]+ Mhz|[0-9]+[.,][0-9] Ghz'
GREEN='#1E9632' # the "present" picture's check

# quelmo-cpuinfo's lines under Wine, without carriage returns.
expected_lines() {
    "$REPO/scripts/wine-run" "$CPUINFO_EXE" | tr -d '\r' >"$CASE_DIR/cpuinfo.txt"
}

# quelmo-cpuinfo's output as "PATH|Caption: Value" lines: a heading (indented two blanks per
# level, no ": ") names a tree node, the lines below it one level deeper are its rows.
tool_rows() {
    awk '
        { match($0, /^ */); depth = RLENGTH / 2; text = substr($0, RLENGTH + 1) }
        index(text, ": ") == 0 {
            path[depth] = text; top = depth
            full = path[0]; for (i = 1; i <= depth; ++i) full = full "/" path[i]
            at[depth] = full; next
        }
        depth > 0 && depth - 1 == top { print at[top] "|" text }
    ' "$1"
}

# The driver's answers as the same lines: "selected tvNavigation PATH" names the node whose
# "row lvInformation I CAPTION<TAB>VALUE" answers follow.
window_rows() {
    awk -F '\t' '
        index($0, "selected tvNavigation ") == 1 { path = substr($0, 23); next }
        index($0, "row lvInformation ") == 1 {
            sub(/^row lvInformation [0-9]+ /, "", $1); print path "|" $1 ": " $2
        }
    ' "$1"
}

# The tree of the Nth `tree` answer (from 1) as "DEPTH CAPTION" lines.
tree_of() {
    awk -v want="$2" '
        index($0, "node tvNavigation ") == 1 {
            if (!started) { started = 1; ++trees }
            if (trees == want) print substr($0, 19)
            next
        }
        { started = 0 }
    ' "$1"
}

explorer_rows_equal_quelmo_cpuinfo_and_close_keeps_the_tree() {
    fresh_app
    expected_lines
    local expected="$CASE_DIR/cpuinfo.txt" out="$CASE_DIR/explorer.txt"
    local count processors name
    count=$(grep -c '^processor' /proc/cpuinfo)
    name=$(awk -F ': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
    processors="Processors ($count)"
    grep -qFx "$processors" "$expected" || fail "quelmo-cpuinfo does not read \"$processors\""
    # The nodes of the processor count and processor 0 that have rows of their own.
    tool_rows "$expected" | awk -F '|' -v p0="$processors/#0 " '$1 == "Processor Count" || index($1, p0) == 1' \
        >"$CASE_DIR/expected-rows.txt"
    local nodes=() node selects=()
    mapfile -t nodes < <(cut -d'|' -f1 "$CASE_DIR/expected-rows.txt" | uniq)
    [ "${#nodes[@]}" = 18 ] || fail "${#nodes[@]} nodes with rows in quelmo-cpuinfo's output, not 18"
    for node in "${nodes[@]}"; do
        if [[ "$node" == "$processors/#0 "* && "$node" != */*/* ]]; then
            # The processor page shows its clock once measured (200 ms on a worker thread).
            selects+=(select-tree tvNavigation "$node" sleep 1500 list-items lvInformation)
        else
            selects+=(select-tree tvNavigation "$node" list-items lvInformation)
        fi
    done
    drive_with_screenshot explorer "$out" start A "\"$APP\"" wait-window A TForm_Main activate keys F6 \
        wait-window A TForm_Info tree tvNavigation activate keys Right "${selects[@]}" \
        select-tree tvNavigation "$processors/#0 $name/CPUID" list-items lvInformation \
        select-tree tvNavigation "${nodes[1]}" sleep 1500 list-items lvInformation signal-shot \
        click Button_Close wait-visible . 0 wait-window A TForm_Main activate keys F6 \
        wait-window A TForm_Info tree tvNavigation wait-window A TForm_Main close wait-exit A 0 >/dev/null

    # The processors node and the processor's name.
    tree_of "$out" 1 >"$CASE_DIR/tree-first.txt"
    grep -qFx "0 $processors" "$CASE_DIR/tree-first.txt" || fail "no node \"$processors\""
    grep -qFx "1 #0 $name" "$CASE_DIR/tree-first.txt" || fail "no node \"#0 $name\""
    [ "$(grep -c '^1 #' "$CASE_DIR/tree-first.txt")" = "$count" ] || fail "not $count processor nodes"
    # The whole tree is quelmo-cpuinfo's headings.
    awk '{ match($0, /^ */); t = substr($0, RLENGTH + 1) } index(t, ": ") == 0 { print RLENGTH / 2, t }' \
        "$expected" | diff - "$CASE_DIR/tree-first.txt" || fail "the tree differs from quelmo-cpuinfo's headings"

    # Every row shown equals quelmo-cpuinfo's line, but the clock, which is measured anew.
    window_rows "$out" >"$CASE_DIR/window-rows.txt"
    grep -qFx "$processors/#0 $name|Name: $name" "$CASE_DIR/window-rows.txt" || fail "no Name row \"$name\""
    local speed
    speed=$(grep -m1 -F "$processors/#0 $name|Speed: " "$CASE_DIR/window-rows.txt" | sed 's/.*|Speed: //')
    [[ "$speed" =~ ^($SPEED_TEXT)$ ]] || fail "the Speed row reads \"$speed\""
    grep -qFx "$processors/#0 $name/CPUID|No Items: Double-click to expand" "$CASE_DIR/window-rows.txt" ||
        fail "the CPUID node does not ask to be expanded"
    local mask='s/|Speed: .*/|Speed: (measured)/'
    grep -v '|No Items: ' "$CASE_DIR/window-rows.txt" | sed "$mask" | awk '!seen[$0]++' >"$CASE_DIR/window-shown.txt"
    sed "$mask" "$CASE_DIR/expected-rows.txt" | diff - "$CASE_DIR/window-shown.txt" ||
        fail "the window's rows differ from quelmo-cpuinfo's"

    # Close hid the window; F6 showed the same tree.
    tree_of "$out" 2 | diff "$CASE_DIR/tree-first.txt" - || fail "the tree changed after Close and F6"
}

the_set_combo_refills_the_feature_list() {
    fresh_app
    expected_lines
    local out="$CASE_DIR/features.txt" rows="$CASE_DIR/feature-rows.txt"
    tool_rows "$CASE_DIR/cpuinfo.txt" | grep -E '^Processors \([0-9]+\)/#0 [^|]*/Feature Sets/' >"$rows"
    drive_with_screenshot features "$out" start A "\"$APP\"" wait-window A TForm_Main activate keys F6 \
        wait-window A TForm_Info get-text Label_AvailableFeatures list-items lvStandard \
        click cbActiveSet keys Down keys Enter get-text Label_AvailableFeatures list-items lvStandard \
        keys Up get-text Label_AvailableFeatures list-items lvStandard rect lvStandard signal-shot \
        wait-window A TForm_Main close wait-exit A 0 >/dev/null

    # Each answer set: the label, then the rows' mnemonics (third column), per choice.
    local answers=() set
    mapfile -t answers < <(awk -F '\t' '
        index($0, "text Label_AvailableFeatures ") == 1 { if (n++) print line; line = substr($0, 30) "|"; next }
        index($0, "row lvStandard ") == 1 { line = line " " $3 }
        END { print line }' "$out")
    [ "${#answers[@]}" = 3 ] || fail "expected three fillings of the list, got ${#answers[@]}"
    for set in "Standard" "Standard (Ex)"; do
        local number mnemonics
        number=$(grep -F "/Feature Sets/$set|Number of features: " "$rows" | sed 's/.*: //')
        mnemonics=$(grep -F "/Feature Sets/$set|" "$rows" | sed 's/^[^|]*|//' |
            grep -v -e '^Feature Set Available: ' -e '^Number of features: ' | sed 's/: .*//' | tr '\n' ' ')
        local want="Available Features ($number):| ${mnemonics% }"
        if grep -qF "/Feature Sets/$set|Feature Set Available: No" "$rows"; then
            want="Feature Set Unavailable.|"
        fi
        if [ "$set" = Standard ]; then
            [ "${answers[0]}" = "$want" ] || fail "Standard Features read \"${answers[0]}\", not \"$want\""
            [ "${answers[2]}" = "$want" ] || fail "back on Standard Features: \"${answers[2]}\""
        else
            [ "${answers[1]}" = "$want" ] || fail "Standard Feature Extensions read \"${answers[1]}\", not \"$want\""
        fi
    done
    # The list shows the green check of the features present.
    local green
    # shellcheck disable=SC2086 # the rectangle is four numbers
    green=$(count_pixels "$CASE_DIR/features.png" $(value "rect lvStandard" "$out") "$GREEN")
    [ "$green" -ge 40 ] || fail "no green checks in the feature list ($green pixels)"
}

run_case explorer explorer_rows_equal_quelmo_cpuinfo_and_close_keeps_the_tree
run_case features the_set_combo_refills_the_feature_list
finish
