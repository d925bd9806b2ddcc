# Quelmo at a display scale of 150 % (LogPixels 144) in a Wine prefix of its own, so the shared
# prefix keeps 96 DPI: the monitor window has the scaled size of the stored 250 x 105, its labels
# the scaled font, its grid lines stay one pixel sharp and the tray picture has the small-icon size
# at 144 DPI. The screenshots stay in build/windows/e2e/dpi/ for a look.
source "$(dirname "$0")/lib.sh"

export QUELMO_WINE_PREFIX="${QUELMO_WINE_PREFIX_144:-$REPO/build/windows/wineprefix-144}"
GRID_GREY='808080'
FRAME_GREY='#808080'

# LogPixels 144 for the prefix (read by Wine when its programs start), once.
scale_the_prefix() {
    (
        source "$REPO/scripts/wine-env.sh"
        local key='HKCU\Control Panel\Desktop' fonts='HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'
        if ! grep -qi '"LogPixels"=dword:00000090' "$WINEPREFIX/user.reg"; then
            wine reg add "$key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
            wine reg add "$fonts" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
            # Wine's shell and services read it when they start.
            wineserver -k || true
        fi
    )
}

# The bounding box "LEFT TOP WIDTH HEIGHT" of the pixels of COLOUR in FILE within L T W H.
bounds_of() {
    local file=$1 left=$2 top=$3 width=$4 height=$5 colour=$6
    convert "$file" -crop "${width}x${height}+${left}+${top}" +repage -depth 8 txt:- |
        awk -F'[,: ]+' -v c="$colour" 'NR > 1 && toupper($0) ~ c {
            if (n++ == 0) { x0 = x1 = $1; y0 = y1 = $2 }
            if ($1 < x0) x0 = $1; if ($1 > x1) x1 = $1; if ($2 < y0) y0 = $2; if ($2 > y1) y1 = $2 }
            END { if (n) print x0, y0, x1 - x0 + 1, y1 - y0 + 1 }'
}

scaled_window_crisp_graph_and_tray_picture() {
    fresh_app
    # Opaque white, the level pictures in the tray; the banner has gone by the screenshot.
    write_ini '[General]' FirstLaunch=0 Transparency=0 AlphaBlend=0 NumericTrayIcons=0 \
        '[Location]' PosX=300 PosY=200 PosWidth=250 PosHeight=105
    local out="$CASE_DIR/scaled.txt"
    drive_with_screenshot scaled "$out" start A "\"$APP\"" wait-window A TForm_Main timeout 20000 \
        wait-text Label_CPUSpeed '[0-9,]+ MHz' wait-tray-icon 1 sleep 5500 \
        move-mouse 700,700 move-mouse Chart_CPUUsage wait-visible SB_Menu 1 sleep 300 \
        rect . rect Label_CPUSpeed rect Chart_CPUUsage rect SB_Menu tray-area signal-shot \
        close wait-exit A 0 >/dev/null
    local shot="$CASE_DIR/scaled.png" left top width height
    read -r left top width height <<<"$(value "rect TForm_Main" "$out")"
    : "$left" "$top"
    [ "$width $height" = "375 158" ] || fail "the stored 250 x 105 measures $width x $height at 144 DPI"
    # The label is as high as its text: MS Sans Serif 8 points, 13 pixels at 96 DPI.
    local label_height
    label_height=$(value "rect Label_CPUSpeed" "$out" | awk '{ print $4 }')
    echo "clock label height $label_height"
    if [ "$label_height" -lt 18 ] || [ "$label_height" -gt 22 ]; then
        fail "the clock label is $label_height high"
    fi

    # Drawn, not stretched: the graph holds only the colours it draws with (no blend of two), and
    # each dotted grid line is one row of pixels.
    local chart
    chart=$(value "rect Chart_CPUUsage" "$out")
    local others
    others=$(convert "$shot" -crop "$(awk '{ print $3 "x" $4 "+" $1 "+" $2 }' <<<"$chart")" +repage -depth 8 txt:- |
        awk 'NR > 1 { print toupper($3) }' | sort -u | grep -vxE "#(FFFFFF|$GRID_GREY|000080|A6CAF0|000000)" |
        tr '\n' ' ' || true)
    others=${others//#/}
    [ -z "$others" ] || fail "the graph shows blended colours: $others"
    local rows
    rows=$(convert "$shot" -crop "$(awk '{ print $3 "x" $4 "+" $1 "+" $2 }' <<<"$chart")" +repage -depth 8 txt:- |
        awk -F'[,: ]+' -v g="$GRID_GREY" 'NR > 1 && toupper($0) ~ g { n[$2]++ } END { for (y in n) if (n[y] >= 40) print y }' |
        sort -n | tr '\n' ' ')
    echo "grid rows: $rows"
    local count=0 previous=-9 row
    for row in $rows; do
        [ $((row - previous)) -gt 1 ] || fail "grid lines at rows $previous and $row: more than one pixel thick"
        previous=$row
        count=$((count + 1))
    done
    [ "$count" -ge 5 ] || fail "only $count grid lines"

    # The tray picture: its grey frame is the small-icon size at 144 DPI.
    local frame tray
    read -r -a tray <<<"$(value tray-area "$out")"
    frame=$(bounds_of "$shot" "${tray[@]}" "$FRAME_GREY")
    echo "tray picture frame: $frame"
    [ "$(awk '{ print $3 "x" $4 }' <<<"$frame")" = 24x24 ] || fail "the tray picture measures $frame"
    # Its frame whole: no pixel of it taken by another colour.
    local fl ft
    read -r fl ft _ <<<"$frame"
    [ "$(count_pixels "$shot" $((tray[0] + fl)) $((tray[1] + ft)) 24 24 "$FRAME_GREY")" = 92 ] ||
        fail "the tray picture's frame is broken"
}

# The secondary windows at 144 DPI: each has its design client size scaled (the frame comes on
# top). Their screenshots are for a look: nothing clipped, proportions kept.
secondary_windows_are_scaled() {
    fresh_app
    write_ini '[General]' FirstLaunch=0 Transparency=0 AlphaBlend=0 '[Location]' PosX=20 PosY=600
    drive start A "\"$APP\"" wait-window A TForm_Main >/dev/null
    # Name, class, menu command and the least width: the design width at 144 DPI.
    local name class id least width
    for name in Settings:TForm_Settings:1106:483 Statistics:TForm_Statistics:1107:0 \
        About:TForm_About:1100:505 Info:TForm_Info:1108:805; do
        IFS=: read -r name class id least <<<"$name"
        drive_with_screenshot "$name" "$CASE_DIR/$name.txt" attach A TForm_Main timeout 20000 post-command "$id" \
            wait-window A "$class" sleep 1000 rect . signal-shot close wait-visible . 0 >/dev/null
        width=$(value "rect $class" "$CASE_DIR/$name.txt" | awk '{ print $3 }')
        echo "$class is $width wide"
        [ "$width" -ge "$least" ] || fail "$class is $width wide at 144 DPI"
    done
    drive attach A TForm_Main close wait-exit A 0 >/dev/null
}

scale_the_prefix
run_case scaled_window scaled_window_crisp_graph_and_tray_picture
run_case secondary_windows secondary_windows_are_scaled
finish
