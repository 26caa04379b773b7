#!/usr/bin/env bash
# Installs every Debian package Tallyra needs to build, test and package.
# Idempotent: only packages that are missing are installed.
# --windows: what the Windows build needs instead (scripts/build-windows.sh): the cross
# compiler, Wine, NSIS, and the Windows SDK unpacked to /opt/tallyra-win.
set -euo pipefail

windows_packages=(
  cmake ninja-build pkg-config python3
  g++-mingw-w64-x86-64-posix googletest
  # Qt's host tools for the cross build (moc, rcc, lrelease through QT_HOST_PATH)
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
  # running and testing the programs
  wine wine64 fonts-wine xvfb xauth x11-xkb-utils x11-utils x11-apps xdotool imagemagick
  fonts-dejavu-core
  # the installer
  nsis
)

if [ "${1:-}" = "--windows" ]; then
  windows=1
  packages=("${windows_packages[@]}")
else
  windows=0
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
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages are installed"
else
  echo "install-deps: installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
  echo "install-deps: done"
fi

# The Windows SDK (Qt and GMP built for mingw-w64): unpacked from its archive when missing.
# TALLYRA_WIN_SDK_ARCHIVE names the archive; else it is looked for in the shared toolchains
# folder beside the repository. toolchains/windows/build-sdk.sh there rebuilds a lost archive.
if [ "$windows" = 1 ] && [ ! -f /opt/tallyra-win/qt6/lib/cmake/Qt6/Qt6Config.cmake ]; then
  here=$(cd "$(dirname "$0")/.." && pwd)
  archive=${TALLYRA_WIN_SDK_ARCHIVE:-}
  for candidate in "$here/../shared/toolchains/windows/tallyra-windows-sdk.tar.xz" \
                   /work/shared/toolchains/windows/tallyra-windows-sdk.tar.xz; do
    [ -z "$archive" ] && [ -f "$candidate" ] && archive=$candidate
  done
  if [ -z "$archive" ] || [ ! -f "$archive" ]; then
    echo "install-deps: no Windows SDK in /opt/tallyra-win and no tallyra-windows-sdk.tar.xz" \
         "(set TALLYRA_WIN_SDK_ARCHIVE, or rebuild it with toolchains/windows/build-sdk.sh)" >&2
    exit 1
  fi
  if [ -f "$archive.sha256" ]; then
    (cd "$(dirname "$archive")" && sha256sum --quiet -c "$(basename "$archive").sha256")
  fi
  echo "install-deps: unpacking $archive to /opt/tallyra-win"
  $SUDO tar -C /opt -xJf "$archive"
fi
