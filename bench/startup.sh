#!/usr/bin/env bash
# Start-up time of the window program: from process start until its window is mapped on a
# private Xvfb, with an isolated, empty settings store and the demo device. Prints every run and
# the median in milliseconds.
#
#   bench/startup.sh [BUILD_DIR] [RUNS]      (defaults: build/release, 10)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-10}
program="$build/bin/tallyra"
[ -x "$program" ] || { echo "startup.sh: $program not built" >&2; exit 1; }

display=":$((200 + $$ % 300))"
work=$(mktemp -d)
Xvfb "$display" -screen 0 1280x800x24 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
for _ in $(seq 100); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

times=()
for i in $(seq "$runs"); do
  rm -rf "$work/config"
  start=$(date +%s%N)
  DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" \
    "$program" --demo >/dev/null 2>&1 &
  pid=$!
  # Polls for the mapped window (bounded: 20 s).
  found=""
  for _ in $(seq 2000); do
    if DISPLAY=$display xdotool search --onlyvisible --name '^Brindle Tallyra$' >/dev/null 2>&1; then
      found=yes
      break
    fi
    sleep 0.01
  done
  end=$(date +%s%N)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$found" ] || { echo "run $i: the window did not appear" >&2; exit 1; }
  ms=$(( (end - start) / 1000000 ))
  times+=("$ms")
  echo "run $i: ${ms} ms"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : int((a[NR/2]+a[NR/2+1])/2))}')
echo "startup to a shown window: median ${median} ms over $runs runs ($build)"
