#!/usr/bin/env bash
# Runs quelmo-cpuinfo on every recorded processor of a folder and checks each report's layout:
#   check-all-dumps.sh FOLDER PATTERNS -- COMMAND ARGS...   (each run adds --dump FILE)
set -uo pipefail
folder=$1
patterns=$2
shift 3
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -d "$folder" ]; then
    echo "skipped: the shared recorded processors are not at $folder (the committed ones of tests/tools/dumps are tested by name)"
    exit 77
fi
count=0
failed=0
for dump in "$folder"/*.txt; do
    count=$((count + 1))
    if ! result=$("$here/check-output.sh" --exit 0 --stdout "$patterns" --empty-stderr -- "$@" --dump "$dump"); then
        echo "== $(basename "$dump")"
        echo "$result"
        failed=1
    fi
done
echo "$count recorded processors checked"
[ "$count" -gt 0 ] && [ "$failed" = 0 ]
