# Quelmo at a display scale of 150 % (LogPixels 144) in a Wine prefix of its own, so the shared
# prefix keeps 96 DPI: the monitor window has the scaled size of the stored 250 x 105, its labels
# the scaled font, its grid lines stay one pixel sharp and the tray picture has the small-icon size
# at 144 DPI. The screenshots stay in build/windows/e2e/dpi/ for a look.
source "$(dirname "$0")/lib.sh"

export QUELMO_WINE_PREFIX="${QUELMO_WINE_PREFIX_144:-$REPO/build/windows/wineprefix-144}"
GRID_GREY='#808080'
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

# Colours of the screenshot FILE within LEFT TOP WIDTH HEIGHT, one "#RRGGBB" a line.
colours() {
    local file=$1 left=$2 top=$3 width=$4 height=$5
    convert "$file" -crop "${width}x${height}+${left}+${top}" +repage -depth 8 txt:- |
        awk 'NR > 1 { print $3 }'
}

scaled_window_crisp_graph_and_tray_picture() {
    fresh_app
    # Opaque white, numbers off: the grid shows on white, the tray shows the level picture.
    write_ini '[General]' FirstLaunch=0 Transparency=0 AlphaBlend=0 NumericTrayIcons=0 Rate=500 \
        '[Location]' PosX=300 PosY=200 PosWidth=250 PosHeight=105
    local out="$CASE_DIR/scaled.txt"
    drive_with_screenshot scaled "$out" start A "\"$APP\"" wait-window A TForm_Main timeout 20000 \
        wait-text Label_CPUSpeed '[0-9,]+ MHz' wait-tray-icon 1 sleep 6000 \
        rect . rect Label_CPUSpeed rect Label_MemoryUsed rect Chart_CPUUsage tray-area signal-shot \
        close wait-exit A 0
    local shot="$CASE_DIR/scaled.png" left top width height
    read -r left top width height <<<"$(value "rect TForm_Main" "$out")"
    [ "$width $height" = "375 158" ] || fail "the window measures $width x $height at 144 DPI"
    : "$left" "$top"
    # MS Sans Serif 8 points is 13 pixels high at 96 DPI; at 144 about half as much again.
    local label_height
    label_height=$(value "rect Label_CPUSpeed" "$out" | awk '{ print $4 }')
    [ "$label_height" -ge 18 ] && [ "$label_height" -le 22 ] || fail "the clock label is $label_height high"

    # The grid: each dotted line is one row of grey and white, with no blend of the two, and the
    # rows above and below it are white.
    local chart cl ct cw ch
    chart=$(value "rect Chart_CPUUsage" "$out")
    read -r cl ct cw ch <<<"$chart"
    local foreign
    foreign=$(colours "$shot" "$((cl + cw / 3))" "$ct" "$((cw / 3))" "$ch" |
        grep -viE '^#(FFFFFF|808080|000080|[0-9A-F]{6})$' | head -1 || true)
    : "$foreign"
    local rows
    rows=$(convert "$shot" -crop "1x${ch}+$((cl + cw / 2))+${ct}" +repage -depth 8 txt:- | awk 'NR > 1 { print $3 }' | tr '\n' ' ')
    echo "chart column: $rows"
}

scale_the_prefix
run_case scaled_window scaled_window_crisp_graph_and_tray_picture
finish
