# shellcheck shell=bash
# Sourced by every end-to-end script. The scripts are run by ctest as
#   bash SCRIPT.sh QUELMO_EXE DRIVER_EXE WORK_DIR
# and call `run_case NAME FUNCTION` for each case, then `finish`.
set -euo pipefail

QUELMO_EXE=$1
DRIVER=$2
WORK=$3
REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
SCRIPT_NAME=$(basename "$0" .sh)
CASE_DIR="$WORK/$SCRIPT_NAME"
# Quelmo runs from a folder with blanks in its path, as it would from "Program Files", and with
# folders whose names start with letters of backslash escapes (\n, \t, \b): a Windows path that
# went through an escape-expanding command would come out changed and fail the cases.
APP_DIR="$CASE_DIR/Program Files/new tools/bin"
RUN_KEY='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'

# The Windows path (drive Z:) of a Linux path. Windows paths are only ever passed on as they are:
# never through `printf %b`, `echo -e` or the format of a printf.
winpath() {
    local path
    path=$(realpath -m "$1")
    printf 'Z:%s\n' "${path//\//\\}"
}

# A fresh copy of Quelmo.exe without a settings file; sets APP (Windows path) and INI (Linux path).
fresh_app() {
    rm -rf "$APP_DIR"
    mkdir -p "$APP_DIR"
    cp "$QUELMO_EXE" "$APP_DIR/Quelmo.exe"
    APP=$(winpath "$APP_DIR/Quelmo.exe")
    INI="$APP_DIR/Quelmo.ini"
}

# Writes the settings file from lines given as arguments, with Windows line ends.
write_ini() {
    printf '%s\r\n' "$@" >"$INI"
}

# Runs the driver under Wine with the given commands; its answers go to stdout (see README.md).
drive() {
    "$REPO/scripts/wine-run" "$DRIVER" "$@"
}

# The value of the first answer line with KEY in FILE (answers are "KEY VALUE"); fails when there
# is none.
value() {
    awk -v key="$1" '
        $0 == key { found = 1; print ""; exit }
        index($0, key " ") == 1 { found = 1; print substr($0, length(key) + 2); exit }
        END { exit !found }' "$2" || fail "no answer \"$1\" in $2"
}

screenshot() {
    (
        source "$REPO/scripts/wine-env.sh" >/dev/null 2>&1
        import -window root "$CASE_DIR/$1.png"
    ) || true
}

# A busy loop on the machine while a case runs (one processor).
BUSY=""
start_busy() {
    (while :; do :; done) &
    BUSY=$!
}
stop_busy() {
    [ -z "$BUSY" ] || kill "$BUSY" 2>/dev/null || true
    BUSY=""
}

# Runs the driver in the background with HANDLER OUT COMMANDS...: at each `pause NAME` in the
# commands the driver waits while the script runs `HANDLER NAME`, then goes on. The answers go to
# OUT; a failing driver fails the call.
drive_pausing() {
    local handler=$1 out=$2
    shift 2
    local args=() names=() status=0
    while [ $# -gt 0 ]; do
        if [ "$1" = pause ]; then
            names+=("$2")
            rm -f "$CASE_DIR/$2.ready" "$CASE_DIR/$2.go"
            args+=(signal "$(winpath "$CASE_DIR/$2.ready")" wait-file "$(winpath "$CASE_DIR/$2.go")")
            shift 2
        else
            args+=("$1")
            shift
        fi
    done
    drive "${args[@]}" >"$out" &
    local driver=$! name waited
    for name in "${names[@]}"; do
        waited=0
        while [ ! -e "$CASE_DIR/$name.ready" ] && kill -0 "$driver" 2>/dev/null && [ "$waited" -lt 1200 ]; do
            sleep 0.05
            waited=$((waited + 1))
        done
        [ ! -e "$CASE_DIR/$name.ready" ] || "$handler" "$name"
        touch "$CASE_DIR/$name.go"
    done
    wait "$driver" || status=$?
    cat "$out"
    return "$status"
}

# Runs the driver in the background with the commands after NAME and OUT; where they say
# `signal-shot`, the script takes the screenshot NAME (CASE_DIR/NAME.png) and the driver goes on.
# The driver stays in charge of Quelmo (and ends it if anything fails); its answers go to OUT.
drive_with_screenshot() {
    local name=$1 out=$2
    shift 2
    local ready="$CASE_DIR/$name.ready" go="$CASE_DIR/$name.go" status=0 args=() arg
    rm -f "$ready" "$go"
    for arg in "$@"; do
        if [ "$arg" = signal-shot ]; then
            args+=(signal "$(winpath "$ready")" wait-file "$(winpath "$go")")
        else
            args+=("$arg")
        fi
    done
    drive "${args[@]}" >"$out" &
    local driver=$! waited=0
    while [ ! -e "$ready" ] && kill -0 "$driver" 2>/dev/null && [ "$waited" -lt 600 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    [ ! -e "$ready" ] || screenshot "$name"
    touch "$go"
    wait "$driver" || status=$?
    cat "$out"
    return "$status"
}

# Pixels of exactly COLOUR (#RRGGBB) in the screenshot FILE within LEFT TOP WIDTH HEIGHT.
count_pixels() {
    local file=$1 left=$2 top=$3 width=$4 height=$5 colour=$6
    # Every other colour made see-through, the alpha channel's mean is the share of COLOUR.
    convert "$file" -crop "${width}x${height}+${left}+${top}" +repage -alpha off +transparent "$colour" \
        -alpha extract -format '%[fx:round(mean*w*h)]\n' info:
}

fail() {
    echo "check failed: $*" >&2
    return 1
}

PASSED=0
FAILED=()
# Runs one case in a subshell that stops at its first failing command; a failure saves a
# screenshot of the Xvfb screen beside the case's files.
run_case() {
    local name=$1
    shift
    echo "=== $name"
    mkdir -p "$CASE_DIR"
    set +e
    (
        set -e
        "$@"
    )
    local status=$?
    set -e
    if [ "$status" = 0 ]; then
        PASSED=$((PASSED + 1))
        echo "--- ok: $name"
    else
        FAILED+=("$name")
        screenshot "$name"
        echo "--- FAILED: $name (screenshot: $CASE_DIR/$name.png)"
    fi
}

finish() {
    echo "$SCRIPT_NAME: $PASSED passed, ${#FAILED[@]} failed ${FAILED[*]:-}"
    [ "${#FAILED[@]}" = 0 ]
}
