#!/usr/bin/env bash
# Runs a Windows program in a test session (see session.sh); exits with its exit code.
set -euo pipefail
dir=$1
shift
# shellcheck disable=SC1091
. "$dir/env"
export QUORVEL_BROWSER_LOG="Z:${dir//\//\\}\\browser-launches.txt"
exec "$WINE" "$@" </dev/null
