#!/usr/bin/env bash
# Installs what is missing, builds Tallyra (release) and starts it.
# Extra arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

bin=build/release/bin
if [ -x "$bin/tallyra" ]; then
  exec "$bin/tallyra" "$@"
fi
# Until the window program exists, the command-line tool stands in.
exec "$bin/tallyra-cli" "${@:---version}"
