#!/usr/bin/env bash
# Installs every Debian package Tallyra needs to build, test and package.
# Idempotent: only packages that are missing are installed.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  # Qt 6
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  libgl-dev
  # core libraries
  libgmp-dev libxtst-dev libx11-dev libfluidsynth-dev timgm6mb-soundfont
  # Wayland key injection: virtual keyboard client code and keymaps, the portal's interfaces
  libwayland-dev libwayland-bin libxkbcommon-dev wayland-protocols xdg-desktop-portal-dev
  # MQTT publishing, and the broker and clients its end-to-end tests run
  libmosquitto-dev mosquitto mosquitto-clients
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-xkb-utils x11-utils xdotool socat imagemagick openssl
  # Wayland tests: a headless compositor, a terminal that records what it receives, a bus
  sway foot dbus-daemon
  # icons: rendering the SVG drawing (scripts/render-icons.sh)
  librsvg2-bin
  # cross compilation, sanitizers, fuzzing
  g++-mingw-w64-x86-64-posix clang libclang-rt-14-dev
  # packaging
  lintian appstream desktop-file-utils dpkg-dev file man-db librsvg2-bin
  # tooling
  clang-format
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages are installed"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "install-deps: installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
echo "install-deps: done"
