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
# Quelmo runs from a folder with a blank in its path, as it would from "Program Files".
APP_DIR="$CASE_DIR/Program Files/Quelmo"
RUN_KEY='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'

# The Windows path (drive Z:) of a Linux path.
winpath() {
    local path
    path=$(realpath -m "$1")
    echo "Z:${path//\//\\}"
}

# A fresh copy of Quelmo.exe without a settings file; sets APP (Windows path) and INI (Linux path).
fresh_app() {
    rm -rf "$APP_DIR"
    mkdir -p "$APP_DIR"
    cp "$QUELMO_EXE" "$APP_DIR/Quelmo.exe"
    APP=$(winpath "$APP_DIR/Quelmo.exe")
    INI="$APP_DIR/Quelmo.ini"
}

# Runs the driver under Wine with the given commands (see README.md).
drive() {
    "$REPO/scripts/wine-run" "$DRIVER" "$@"
}

screenshot() {
    (
        source "$REPO/scripts/wine-env.sh" >/dev/null 2>&1
        import -window root "$CASE_DIR/$1.png"
    ) || true
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
