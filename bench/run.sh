#!/bin/sh
# Every benchmark figure: the program against its baseline under Wine (wine/run.sh), then
# the host benchmark of the text routines (host/run.sh).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine/run.sh"
"$here/host/run.sh"
