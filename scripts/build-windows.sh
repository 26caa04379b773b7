#!/usr/bin/env bash
# The Windows program, built on this Linux machine in one command: installs what is missing
# (the cross compiler, Wine, NSIS, the Windows SDK in /opt/tallyra-win), cross-builds
# everything into build/windows/, runs the Windows tests under Wine (label windows), stages the
# installed layout in build/windows/stage/ and builds the installer
# build/windows/Tallyra-<version>-win64.exe. Idempotent: run it again after any change.
# Extra arguments are passed to ctest (for example -R e2e).
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
step() { echo "=== build-windows: $* ($(( $(date +%s) - start )) s)"; }

step "dependencies"
bash scripts/install-deps.sh --windows

step "configure and build"
cmake --preset windows-cross >/dev/null
cmake --build --preset windows-cross -j "$(nproc)"

# The tests make the staged layout (windows_stage) and the installer (windows_installer_build)
# on the way, and use both.
step "tests under Wine, staged layout, installer"
ctest --preset windows-cross -j "$(nproc)" "$@"
ls -l build/windows/Tallyra-*-win64.exe
echo "screenshots: build/windows/screenshots/"
step "done"
