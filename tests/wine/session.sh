#!/usr/bin/env bash
# A test session: an Xvfb screen of a given size and a private Wine prefix on it.
#   session.sh start DIR WIDTHxHEIGHT ARCH   (ARCH: x86 or x64, the build the tests run)
#   session.sh stop DIR
# Tests run their programs in it with run.sh DIR PROGRAM ARGS... The session's web
# browser is a recorder: each address handed to it is appended as a line to
# DIR/browser-launches.txt, which run.sh names to Windows programs in the environment
# variable QUORVEL_BROWSER_LOG.
set -euo pipefail
action=$1
dir=$(realpath -m "$2")

stop_session() {
    if [ -f "$dir/env" ]; then
        # shellcheck disable=SC1091
        . "$dir/env"
        "$WINESERVER" -k >/dev/null 2>&1 || true
    fi
    if [ -f "$dir/xvfb.pid" ]; then
        kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
        rm -f "$dir/xvfb.pid"
    fi
}

case $action in
start)
    size=$3; arch=$4
    stop_session
    rm -rf "$dir"
    mkdir -p "$dir"
    # Xvfb chooses a free display and reports its number on descriptor 3.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$dir/display" </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
    [ -s "$dir/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
    if [ "$arch" = x86 ]; then wine=/usr/lib/wine/wine; else wine=/usr/lib/wine/wine64; fi
    cat >"$dir/env" <<ENV
export DISPLAY=:$(tr -d '\n' <"$dir/display")
export WINEPREFIX="$dir/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINE=$wine
export WINESERVER=/usr/lib/wine/wineserver64
[ -x "\$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver32
ENV
    # shellcheck disable=SC1091
    . "$dir/env"
    # Wine's helper processes inherit the output: keep it away from whoever reads ours.
    mkdir -p "$WINEPREFIX"
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    "$WINE" wineboot --init </dev/null >/dev/null 2>&1
    # The browser: a recorder of the addresses that Wine's URL handler passes on.
    cat >"$dir/browser.sh" <<BROWSER
#!/bin/sh
for address in "\$@"; do printf '%s\\n' "\$address" >>"$dir/browser-launches.txt"; done
BROWSER
    chmod +x "$dir/browser.sh"
    # Without a window manager, Wine must draw frames itself and not wait for one.
    cat >"$dir/settings.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]
"Browsers"="$dir/browser.sh"
REG
    "$WINE" regedit /S "Z:${dir//\//\\}\\settings.reg" </dev/null >/dev/null 2>&1
    ;;
stop)
    stop_session
    ;;
*)
    echo "usage: session.sh start DIR WIDTHxHEIGHT ARCH | stop DIR" >&2
    exit 2
    ;;
esac
