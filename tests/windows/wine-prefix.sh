#!/usr/bin/env bash
# The Wine prefix of a test run: wine-prefix.sh PREFIX make KEEPER.exe | stop.
#
# make: removes any old prefix (stopping its wineserver) and makes a fresh one that reports
# itself as Windows 10. Wine links the serial devices it finds to COM ports: com1 to the first
# ttyS device, which is the system console on these machines. Wine only links them (it does not open them),
# and it does so whenever its device manager starts, so: COM1..COM255 are reserved with empty
# entries (Wine then never maps a device to them; the highest number cannot be reserved), the
# keeper program holds the prefix's system programs up for the whole run (so that the device
# manager does not start again), and every comN link is removed. Tests link the COM ports they
# need to pseudo-terminals themselves.
# stop: ends the prefix's wineserver and its programs.
set -euo pipefail
prefix=$1
action=${2:-make}
keeper=${3:-}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
case "$prefix" in
  /*/wine) ;;
  *) echo "wine-prefix.sh: refusing to use '$prefix' (expected an absolute path ending in /wine)" >&2
     exit 2 ;;
esac

remove_com_links() {
  find "$prefix/dosdevices" -maxdepth 1 -iname 'com*' -exec rm -f {} +
}

if [ "$action" = stop ]; then
  [ -d "$prefix" ] && wineserver -k 2>/dev/null || true
  exit 0
fi

start=$(date +%s)
if [ -d "$prefix" ]; then
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
fi

wineboot -i </dev/null >/dev/null 2>&1
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
{
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
  for n in $(seq 1 255); do printf '"COM%d"=""\r\n' "$n"; done
} >"$reg"
wine regedit /S "$(winepath -w "$reg")" </dev/null >/dev/null 2>&1
wine winecfg -v win10 >/dev/null 2>&1
# A program that crashes ends with a backtrace on its standard error, not with a dialog that
# waits for a click.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
# Windows has Courier New, the event log's font; Wine has no such font of its own.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /t REG_SZ \
  /d 'DejaVu Sans Mono' /f >/dev/null 2>&1
wineserver -w
remove_com_links
# The keeper brings the system programs up once, with no streams shared with any test.
wineserver -p </dev/null >/dev/null 2>&1
setsid wine "$keeper" </dev/null >/dev/null 2>&1 &
wine cmd /c exit >/dev/null 2>&1
sleep 1
remove_com_links
if ls "$prefix/dosdevices" | grep -qi '^com'; then
  echo "wine-prefix.sh: COM links left in $prefix/dosdevices" >&2
  exit 1
fi
echo "Wine prefix $prefix made in $(( $(date +%s) - start )) s"
