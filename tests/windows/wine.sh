#!/usr/bin/env bash
# Runs a Windows program under Wine in a given prefix: wine.sh PREFIX PROGRAM [ARGS...].
# The emulator of the cross build's tests (CMAKE_CROSSCOMPILING_EMULATOR); wine-prefix.sh makes
# the prefix. Wine's own diagnostics stay off, and no Mono or Gecko installer is offered.
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
exec wine "$@"
