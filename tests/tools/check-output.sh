#!/usr/bin/env bash
# Runs a command and checks its exit code and output:
#   check-output.sh --exit N [--stdout FILE] [--stderr FILE] [--empty-stderr] -- COMMAND ARGS...
# A FILE holds one extended regular expression per line (blank lines and lines starting with
# "#" skipped); each must match a line of that output, in the file's order. Carriage returns
# (Windows line ends) are ignored.
set -uo pipefail
expectedExit=0
stdoutPatterns=
stderrPatterns=
emptyStderr=0
while [ $# -gt 0 ]; do
    case "$1" in
        --exit) expectedExit=$2; shift 2 ;;
        --stdout) stdoutPatterns=$2; shift 2 ;;
        --stderr) stderrPatterns=$2; shift 2 ;;
        --empty-stderr) emptyStderr=1; shift ;;
        --) shift; break ;;
        *) echo "check-output.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$@" >"$work/out.raw" 2>"$work/err.raw"
code=$?
tr -d '\r' <"$work/out.raw" >"$work/out"
tr -d '\r' <"$work/err.raw" >"$work/err"

failed=0
report() {
    echo "FAIL: $*"
    failed=1
}

# Each pattern of $1 must match a line of $2 after the line the previous pattern matched
# (bash's own regular expressions: no process per pattern).
match_in_order() {
    local patterns=$1 output=$2 i=0 pattern
    local -a lines
    mapfile -t lines <"$output"
    while IFS= read -r pattern || [ -n "$pattern" ]; do
        case "$pattern" in '' | '#'*) continue ;; esac
        while [ "$i" -lt "${#lines[@]}" ] && ! [[ ${lines[i]} =~ $pattern ]]; do
            i=$((i + 1))
        done
        if [ "$i" -ge "${#lines[@]}" ]; then
            report "no line matches /$pattern/ in order in $(basename "$output")"
            return
        fi
        i=$((i + 1))
    done <"$patterns"
}

[ "$code" = "$expectedExit" ] || report "exit code $code, expected $expectedExit"
[ -n "$stdoutPatterns" ] && match_in_order "$stdoutPatterns" "$work/out"
[ -n "$stderrPatterns" ] && match_in_order "$stderrPatterns" "$work/err"
[ "$emptyStderr" = 1 ] && [ -s "$work/err" ] && report "unexpected standard error output"
if [ "$failed" = 1 ]; then
    echo "--- command: $*"
    echo "--- standard output (first 60 lines):"
    head -60 "$work/out"
    echo "--- standard error:"
    head -30 "$work/err"
    exit 1
fi
echo "ok: $(wc -l <"$work/out") lines, exit code $code"
