#!/usr/bin/env bash
# Acceptance run before a release: builds a release (or takes existing binaries), starts the
# window program under a private Xvfb with a pseudo-terminal as its instrument, and for each
# keyboard layout checks that readings arrive typed in a target window; then exports and imports
# the settings and checks the round trip. Prints one line per check and exits 1 when any failed.
#
# Usage: scripts/acceptance.sh [--bin DIR] [--keep]
#   --bin DIR  use the programs in DIR (tallyra, tallyra-cli, libserdrvLux64.so, key_target)
#              instead of building a release
#   --keep     keep the working folder (settings, logs, received text) even when all passed
#
# Needs Xvfb, setxkbmap, xdotool, xdpyinfo and python3. Every wait is bounded and every process
# started here is stopped on exit.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bin=""
keep=0
while [ $# -gt 0 ]; do
    case "$1" in
    --bin)
        [ $# -ge 2 ] || { echo "acceptance: --bin needs a folder" >&2; exit 2; }
        bin=$2
        shift 2
        ;;
    --keep) keep=1; shift ;;
    -h | --help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "acceptance: unknown option $1 (see --help)" >&2; exit 2 ;;
    esac
done

if [ -z "$bin" ]; then
    echo "Building the release ..."
    (cd "$root" && cmake --preset release && cmake --build --preset release) || {
        echo "acceptance: the release build failed" >&2
        exit 1
    }
    bin=$root/build/release/bin
fi
bin=$(cd "$bin" 2>/dev/null && pwd) || { echo "acceptance: no folder $bin" >&2; exit 2; }
for program in tallyra tallyra-cli key_target; do
    [ -x "$bin/$program" ] || { echo "acceptance: $bin/$program is missing" >&2; exit 2; }
done
[ -f "$bin/libserdrvLux64.so" ] || { echo "acceptance: $bin/libserdrvLux64.so is missing" >&2; exit 2; }
for tool in Xvfb setxkbmap xdotool xdpyinfo python3 timeout; do
    command -v "$tool" >/dev/null || { echo "acceptance: $tool is not installed" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tallyra-acceptance.XXXXXX")
programdata=$work/ProgramData
prefs=$programdata/Brindle/TallyraCrew/prefs.txt
started=() # every process started here, stopped on exit
results=()
failures=0

# Stops one process: TERM, up to 5 s, then KILL.
stop() {
    local pid=$1
    kill -0 "$pid" 2>/dev/null || return 0
    kill -TERM "$pid" 2>/dev/null
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 0
}

cleanup() {
    exec 3>&- 2>/dev/null
    local i
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        stop "${started[i]}"
    done
    if [ "$failures" -eq 0 ] && [ "$keep" -eq 0 ]; then
        rm -rf "$work"
    else
        echo "Working folder kept: $work"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

check() { # check NAME STATUS [DETAIL]
    if [ "$2" -eq 0 ]; then
        results+=("PASS  $1")
    else
        results+=("FAIL  $1${3:+: $3}")
        failures=$((failures + 1))
    fi
}

# Waits up to $1 seconds for the command to succeed.
wait_until() {
    local bound=$1
    shift
    local end=$((SECONDS + bound))
    until "$@"; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.1
    done
}

# A private X server on a free display number, with -noreset so that setxkbmap lasts.
display=""
for number in $(seq $((100 + $$ % 400)) $((119 + $$ % 400))); do
    [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
    Xvfb ":$number" -screen 0 1280x800x24 -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    started+=("$xvfb")
    if wait_until 10 xdpyinfo -display ":$number" >/dev/null 2>&1; then
        display=":$number"
        break
    fi
    stop "$xvfb"
done
if [ -z "$display" ]; then
    check "Xvfb starts on a free display" 1 "see $work/xvfb.log"
else
    check "Xvfb starts on display $display" 0
    xserver=$(xdpyinfo -display "$display" | sed -n 's/^X.Org version: */X.Org /p')
fi
export DISPLAY=$display

# The instrument: a pseudo-terminal whose master side this helper holds. Each line written to
# the FIFO, with Python escapes such as \r and \n, is sent to the port as bytes.
fifo=$work/instrument.fifo
mkfifo "$fifo"
python3 - "$work/pty.name" "$fifo" >"$work/instrument.log" 2>&1 <<'EOF' &
import codecs, os, pty, sys, tty
master, slave = pty.openpty()
tty.setraw(slave)
with open(sys.argv[1] + ".tmp", "w") as f:
    f.write(os.ttyname(slave))
os.rename(sys.argv[1] + ".tmp", sys.argv[1])
with open(sys.argv[2], "rb") as commands:
    for line in commands:
        data = codecs.escape_decode(line.rstrip(b"\n"))[0]
        os.write(master, data)
EOF
started+=("$!")
pty=""
if wait_until 10 test -s "$work/pty.name"; then
    pty=$(cat "$work/pty.name")
    exec 3>"$fifo"
fi
[ -n "$pty" ]
check "pseudo-terminal instrument ${pty:-(none)}" $?

# True when process $1 holds the port open.
holds_port() {
    local fd
    for fd in /proc/"$1"/fd/*; do
        [ "$(readlink "$fd" 2>/dev/null)" = "$pty" ] && return 0
    done
    return 1
}

write_settings() { # write_settings KEYBOARD_TYPE
    rm -rf "$programdata"
    mkdir -p "$(dirname "$prefs")"
    {
        echo "#FilePreferences"
        echo "com.brindle.Tallyra.instrument=GENERIC"
        echo "com.brindle.Tallyra.keyboardType=$1"
        echo "com.brindle.Tallyra.startWith=NONE"
        echo "com.brindle.Tallyra.outputTerminator=ENTER"
        echo "com.brindle.Tallyra.outputTerminator2=NONE"
        echo "com.brindle.Tallyra.connect=AUTO"
        echo "com.brindle.Tallyra.delay=5"
        echo "com.brindle.Tallyra.checkForUpdates=false"
    } >"$prefs"
}

# One layout: the window types two readings into the target, each followed by Enter ("\r").
run_layout() { # run_layout XKB_LAYOUT XKB_VARIANT KEYBOARD_TYPE
    local layout=$1 variant=$2 type=$3
    local name="$layout${variant:+($variant)}/$type"
    local tag=$layout${variant:+-$variant}
    local out=$work/received-$tag ready=$work/ready-$tag
    local tallyra target focus received

    local query
    timeout 10 setxkbmap -display "$display" -layout "$layout" ${variant:+-variant "$variant"}
    query=$(timeout 10 setxkbmap -display "$display" -query 2>/dev/null)
    if ! grep -qx "layout: *$layout" <<<"$query" ||
        { [ -n "$variant" ] && ! grep -qx "variant: *$variant" <<<"$query"; }; then
        check "$name: setxkbmap sets the layout" 1 "$(tr '\n' ' ' <<<"$query")"
        return
    fi
    check "$name: setxkbmap sets the layout" 0
    write_settings "$type"
    ProgramData=$programdata XDG_CONFIG_HOME=$work/xdg QT_QPA_PLATFORM=xcb \
        "$bin/tallyra" --shared "$pty" >"$work/tallyra-$tag.log" 2>&1 &
    tallyra=$!
    started+=("$tallyra")
    if ! wait_until 20 holds_port "$tallyra"; then
        check "$name: window starts reading the port" 1 "see $work/tallyra-$tag.log"
        stop "$tallyra"
        return
    fi
    check "$name: window starts reading the port" 0

    LC_ALL=C.UTF-8 "$bin/key_target" "$out" "$ready" 2>"$work/target-$tag.log" &
    target=$!
    started+=("$target")
    if ! wait_until 10 test -e "$ready"; then
        check "$name: readings typed" 1 "the target window did not come up"
        stop "$target"
        stop "$tallyra"
        return
    fi
    # The target takes the focus itself when mapped; give it back explicitly before writing.
    focus=$(timeout 5 xdotool getwindowfocus 2>/dev/null)
    [ -n "$focus" ] && timeout 5 xdotool windowfocus "$focus" >/dev/null 2>&1
    sleep 0.3

    printf '%s\n' 'ST,+000012.34 g\r\n' 'ST,-000001.50 g\r\n' >&3
    local expected=$'12.34\r-1.50\r'
    wait_until 20 test "$(stat -c %s "$out" 2>/dev/null || echo 0)" -ge ${#expected}
    sleep 0.5 # anything typed after the expected text would show now
    received=$(python3 -c 'import sys; print(repr(open(sys.argv[1], "rb").read())[1:])' "$out" 2>/dev/null)
    if [ "$(cat "$out" 2>/dev/null)" = "$expected" ] && [ "$(stat -c %s "$out")" -eq ${#expected} ]; then
        check "$name: readings typed as '12.34\\r-1.50\\r'" 0
    else
        check "$name: readings typed as '12.34\\r-1.50\\r'" 1 "received ${received:-nothing}"
    fi
    kill -0 "$tallyra" 2>/dev/null
    check "$name: window still running after the readings" $?
    stop "$target"
    stop "$tallyra"
}

if [ -n "$display" ] && [ -n "$pty" ]; then
    run_layout us "" QUERTY
    run_layout us intl US_INTERNATIONAL
    run_layout de "" GERMAN
    run_layout fr "" AZERTY
fi

# Settings round trip through the export file, in the same shared settings file.
cli() { ProgramData=$programdata XDG_CONFIG_HOME=$work/xdg timeout 20 "$bin/tallyra-cli" "$@"; }
write_settings GERMAN
cli settings show --shared >"$work/show-before" 2>"$work/cli.log"
export_file=$work/Tallyra.xml
cli settings export "$export_file" --shared 2>>"$work/cli.log" &&
    grep -q 'key="keyboardType" value="GERMAN"' "$export_file"
check "settings export writes keyboardType=GERMAN to Tallyra.xml" $?
write_settings AZERTY
sed -i 's/delay=5/delay=40/' "$prefs"
cli settings show --shared >"$work/show-changed" 2>>"$work/cli.log"
cli settings import "$export_file" --shared 2>>"$work/cli.log"
check "settings import exits 0" $?
cli settings show --shared >"$work/show-after" 2>>"$work/cli.log"
grep -qx 'keyboardType=GERMAN' "$work/show-after" && grep -qx 'delay=5' "$work/show-after" &&
    ! cmp -s "$work/show-changed" "$work/show-after"
check "settings show lists the imported keyboardType=GERMAN, delay=5" $? \
    "$(tr '\n' ' ' <"$work/show-after")"
cmp -s "$work/show-before" "$work/show-after"
check "settings show after the round trip equals the original" $? \
    "see $work/show-before and $work/show-after"

# The summary.
version=$("$bin/tallyra-cli" --version 2>&1 | head -1)
commit=$(git -C "$root" describe --always --dirty 2>/dev/null || echo unknown)
echo
echo "Tallyra acceptance run, $(date '+%Y-%m-%d %H:%M')"
echo "Version: $version; source $commit; binaries $bin"
echo "X server: Xvfb ${display:-(none)}, ${xserver:-version unknown}; Qt $(dpkg-query -W -f '${Version}' libqt6core6 2>/dev/null || echo unknown)"
echo
printf '%s\n' "${results[@]}"
echo
total=${#results[@]}
echo "Total: $((total - failures)) of $total checks passed, $failures failed"
[ "$failures" -eq 0 ]
