#!/usr/bin/env bash
# Runs a Windows program in a test session (see session.sh); exits with its exit code.
# The output goes through a file: Wine's helper processes inherit the program's output
# and may outlive it, and whoever reads a pipe from here would wait for them.
set -euo pipefail
dir=$1
shift
# shellcheck disable=SC1091
. "$dir/env"
export QUORVEL_BROWSER_LOG="Z:${dir//\//\\}\\browser-launches.txt"
output=$(mktemp)
status=0
"$WINE" "$@" </dev/null >"$output" 2>&1 || status=$?
cat "$output"
rm -f "$output"
exit "$status"
