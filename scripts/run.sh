#!/usr/bin/env bash
# Installs what is missing, builds Tallyra (release) and starts it.
# Extra arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

bin=build/release/bin
# With no stored settings yet (first start), the simulated balance "DEMO" is switched on and
# selected, so that readings flow after Start without an instrument.
settings="${XDG_CONFIG_HOME:-$HOME/.config}/brindle/Tallyra.conf"
if [ $# -eq 0 ] && [ ! -s "$settings" ]; then
  exec "$bin/tallyra" --demo
fi
exec "$bin/tallyra" "$@"
