#!/usr/bin/env bash
# Runs an end-to-end test program under Wine with its standard error also
# kept in a file that LAUNCHER_STDERR names to the program: the programs it
# starts share that standard error, where Wine writes its debug channels
# (the event log's reports among them).
#   keep_stderr.sh <file> <test program> [arguments]
set -euo pipefail
file="$1"
shift
mkdir -p "$(dirname "$file")"
: > "$file"
export LAUNCHER_STDERR="Z:${file//\//\\}"
"$(dirname "$0")/../../tools/lib/wine-run" "$@" 2> >(tee -a "$file" >&2)
