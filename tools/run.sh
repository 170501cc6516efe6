#!/usr/bin/env bash
# Starts the built program under Wine. With a display it runs until the window is closed;
# without one it starts Xvfb, saves a screenshot of the window and ends the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/windows-x86
program=$build/quorvel-downloader.exe
wine=/usr/lib/wine/wine
if ! "$wine" --version >/dev/null 2>&1; then
    # This machine cannot run 32-bit code: run the 64-bit build of the same sources.
    echo "Wine cannot start 32-bit programs here; running the 64-bit build of the same sources." >&2
    program=$build/x64/quorvel-downloader.exe
    wine=/usr/lib/wine/wine64
fi
[ -f "$program" ] || { echo "not built: $program (cmake --build --preset windows-x86)" >&2; exit 1; }

export WINEPREFIX=${WINEPREFIX:-$build/run-prefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The texts are GBK: show them as a Chinese system does (ANSI code page 936).
chinese=(env LC_ALL=zh_CN.UTF-8)

if [ -n "${DISPLAY:-}" ]; then
    exec "${chinese[@]}" "$wine" "$program"
fi

fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$fd_file"' EXIT
for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
export DISPLAY=:$(tr -d '\n' <"$fd_file")
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX (once) ..." >&2
    "$wine" wineboot --init </dev/null >/dev/null 2>&1
fi
# No window manager under Xvfb: Wine draws the frame and caption itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1
"${chinese[@]}" "$wine" "$program" </dev/null >/dev/null 2>&1 &
sleep 3
shot=$build/screenshot.png
# The window is centred on the 1024x768 screen: cut it out with a margin.
import -display "$DISPLAY" -window root -crop 420x290+302+239 +repage "$shot"
/usr/lib/wine/wineserver64 -k 2>/dev/null || /usr/lib/wine/wineserver32 -k 2>/dev/null || true
echo "No display: the program ran on Xvfb; screenshot saved to $shot"
