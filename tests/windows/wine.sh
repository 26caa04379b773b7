#!/usr/bin/env bash
# Runs a Windows program under Wine in a given prefix: wine.sh PREFIX PROGRAM [ARGS...], with
# its standard output and error together on standard output once it has ended. The emulator of
# the cross build's tests (CMAKE_CROSSCOMPILING_EMULATOR); wine-prefix.sh makes the prefix.
# Wine's own diagnostics stay off, and no Mono or Gecko installer is offered.
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine.sh: no Wine prefix in $WINEPREFIX (the wine_prefix test makes it)" >&2
  exit 125
fi
# No COM port may lead to a serial device of this machine (see wine-prefix.sh).
for link in "$WINEPREFIX"/dosdevices/com*; do
  [ -L "$link" ] || continue
  case "$(readlink "$link")" in
    /dev/pts/*) ;;
    *) rm -f "$link" ;;
  esac
done
# Wine's console host and system programs may inherit the program's output streams and outlive
# it; whoever reads those streams (CTest) would then wait for ever. The output goes through a
# file that only this script reads, beside the prefix: a program that hangs and is killed
# leaves it there to be read.
out=$(mktemp "$(dirname "$WINEPREFIX")/wine-output.XXXXXX")
trap 'rm -f "$out"' EXIT
status=0
wine "$@" >"$out" 2>&1 || status=$?
cat "$out"
# Wine ends a crashed program with its debugger's report, sometimes with status 0.
if grep -q '^wine: Unhandled' "$out"; then
  echo "wine.sh: the program crashed" >&2
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
