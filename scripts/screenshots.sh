#!/bin/sh
# Takes a screenshot of every tab of the window program, in English and in German, under a
# private Xvfb with settings of its own (nothing of the user's settings is read or written).
#
#   scripts/screenshots.sh [PROGRAM] [FOLDER]
#
# PROGRAM defaults to build/debug/bin/tallyra, FOLDER to build/screenshots. The files are named
# LANGUAGE-NN-TAB.png. Needs Xvfb, xdotool and ImageMagick's import. The program runs with the
# simulated demo device as its only port and without the update check.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$here/build/debug/bin/tallyra}
out=${2:-$here/build/screenshots}
[ -x "$program" ] || { echo "screenshots: no program at $program" >&2; exit 1; }
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing" >&2; exit 1; }
done
mkdir -p "$out"

work=$(mktemp -d)
xpid=""
apid=""
cleanup() {
    [ -n "$apid" ] && kill "$apid" 2>/dev/null || true
    [ -n "$xpid" ] && kill "$xpid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

# A free display number: the first without a lock file.
n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xpid=$!
export DISPLAY=":$n"
i=0
until xdotool getdisplaygeometry >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -lt 100 ] || { echo "screenshots: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done

tabs="main input processing output settings journal-mqtt eventlog about"

shoot() {
    language=$1
    home="$work/$language"
    # No update check: the status line then shows what a user sees at a start.
    mkdir -p "$home/Brindle/TallyraCrew"
    printf 'com.brindle.Tallyra.checkForUpdates=false\n' >"$home/Brindle/TallyraCrew/prefs.txt"
    # --shared keeps the settings in a file below ProgramData, here a folder of our own.
    env HOME="$home" XDG_CONFIG_HOME="$home/config" ProgramData="$home" \
        SERIAL_PORT_LIST=DEMO \
        QT_QPA_PLATFORM=xcb \
        "$program" --demo --shared --language "$language" >"$work/$language.log" 2>&1 &
    apid=$!
    wid=""
    i=0
    while [ -z "$wid" ]; do
        i=$((i + 1))
        [ $i -lt 150 ] || { echo "screenshots: no window ($language)" >&2; cat "$work/$language.log" >&2; exit 1; }
        kill -0 "$apid" 2>/dev/null || { echo "screenshots: program ended ($language)" >&2; cat "$work/$language.log" >&2; exit 1; }
        sleep 0.2
        wid=$(xdotool search --onlyvisible --name "Tallyra" 2>/dev/null | head -n 1 || true)
    done
    sleep 1
    xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
    k=0
    for tab in $tabs; do
        file=$(printf '%s/%s-%02d-%s.png' "$out" "$language" "$k" "$tab")
        sleep 0.5
        import -window "$wid" "$file"
        echo "$file"
        xdotool key --window "$wid" ctrl+Tab
        k=$((k + 1))
    done
    kill "$apid" 2>/dev/null || true
    wait "$apid" 2>/dev/null || true
    apid=""
}

shoot en
shoot de
