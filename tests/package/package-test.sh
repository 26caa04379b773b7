#!/usr/bin/env bash
# Builds the Debian package from a built tree with cpack, unpacks it with dpkg -x into a new
# temporary folder outside the build tree and runs the unpacked programs from there, so that a
# missing install step fails. Nothing is installed into the machine.
#
#   package-test.sh BUILD_DIR SOURCE_DIR VERSION WITH_WINDOW_PROGRAM WITH_ICONS
set -euo pipefail

if [ $# -ne 5 ]; then
  echo "usage: $0 BUILD_DIR SOURCE_DIR VERSION WITH_WINDOW_PROGRAM(0|1) WITH_ICONS(0|1)" >&2
  exit 2
fi
build=$(realpath "$1")
src=$(realpath "$2")
version=$3
gui=$4
icons=$5

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
die() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg dpkg-deb readelf file lintian desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || die "$tool is missing (scripts/install-deps.sh installs it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tallyra-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
case "$work/" in
  "$build"/* | "$src"/*) die "temporary folder $work lies inside the build or source tree" ;;
esac

# --- build and unpack -----------------------------------------------------------------------
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  die "cpack failed"
fi
debs=("$work"/pkg/tallyra_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || die "cpack made no single tallyra_*.deb"
deb=${debs[0]}
root=$work/root
dpkg -x "$deb" "$root"
echo "package: $(basename "$deb")"

# --- control fields -------------------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tallyra ] || fail "Package is '$(field Package)'"
[[ "$(field Version)" == "$version"-* ]] || fail "Version '$(field Version)' is not $version-N"
[ -n "$(field Section)" ] || fail "no Section"
[[ "$(field Maintainer)" == *" <"*@*">" ]] || fail "Maintainer '$(field Maintainer)' lacks an address"
depends=$(field Depends)
echo "Depends: $depends"
wanted=(libqt6core6 libgmp10 libxtst6 libx11-6 timgm6mb-soundfont)
if [ "$gui" = 1 ]; then
  wanted+=(libqt6widgets6 libqt6network6 libfluidsynth3)
fi
for dep in "${wanted[@]}"; do
  [[ ", $depends," =~ [,\|]\ $dep[\ ,] ]] || fail "Depends lacks $dep"
done

# --- files ----------------------------------------------------------------------------------
usr=$root/usr
expect=(bin/tallyra-cli lib/tallyra/libserdrvLux64.so share/man/man1/tallyra-cli.1.gz
  share/doc/tallyra/copyright share/doc/tallyra/changelog.Debian.gz)
if [ "$gui" = 1 ]; then
  expect+=(bin/tallyra share/man/man1/tallyra.1.gz share/applications/tallyra.desktop
    share/metainfo/com.brindle.Tallyra.metainfo.xml)
fi
if [ "$icons" = 1 ]; then
  expect+=(share/icons/hicolor/scalable/apps/tallyra.svg)
  for size in 16 24 32 48 64 128 256; do
    png=share/icons/hicolor/${size}x${size}/apps/tallyra.png
    expect+=("$png")
    if [ -f "$usr/$png" ]; then
      file -b "$usr/$png" | grep -q "PNG image data, $size x $size," ||
        fail "$png is not a $size x $size PNG: $(file -b "$usr/$png")"
    fi
  done
fi
for f in "${expect[@]}"; do
  [ -f "$usr/$f" ] || fail "the package lacks /usr/$f"
done
grep -q '^License: Expat' "$usr/share/doc/tallyra/copyright" || fail "copyright names no MIT (Expat) licence"

# No run path into the build tree (or anywhere): the programs must work from any folder.
while IFS= read -r elf; do
  if readelf -d "$elf" | grep -E 'R(UN)?PATH'; then
    fail "$elf has a run path"
  fi
done < <(find "$root" -type f -exec file {} + | grep ELF | cut -d: -f1)

# --- run the unpacked tallyra-cli -----------------------------------------------------------
# A clean environment (no LD_LIBRARY_PATH) from a folder outside the build tree.
cli=$usr/bin/tallyra-cli
mkdir -p "$work/home" "$work/run"
cp "$src/tests/fixtures/balance-crlf.bin" "$work/run/capture.bin"
run() { (cd "$work/run" && env -i PATH=/usr/bin:/bin HOME="$work/home" LANG=C.UTF-8 "$@"); }

out=$(run "$cli" --version) || fail "tallyra-cli --version failed"
[[ "$out" == "tallyra-cli $version"* ]] || fail "tallyra-cli --version printed '$out'"

if out=$(run "$cli" presets 2>&1); then
  [ "$(printf '%s\n' "$out" | wc -l)" -eq 36 ] || fail "presets: $(printf '%s\n' "$out" | wc -l) lines, not 36"
  printf '%s\n' "$out" | grep -q "^GENERIC	" || fail "presets: no GENERIC line"
else
  fail "tallyra-cli presets failed: $out"
fi

status=0
out=$(run "$cli" replay capture.bin 2>"$work/replay.err") || status=$?
if [ "$status" -eq 0 ]; then
  printf '%s\n' "$out"
  [ "$(printf '%s\n' "$out" | wc -l)" -eq 5 ] || fail "replay: not 5 lines"
  printf '%s\n' "$out" | sed -n 1p | grep -qF '"value":"12.34"' || fail "replay: first value is not 12.34"
  printf '%s\n' "$out" | sed -n 3p | grep -qF '"value":"-1.50"' || fail "replay: third value is not -1.50"
else
  cat "$work/replay.err" >&2 || true
  fail "tallyra-cli replay: exit status $status"
fi

# The driver library that is loaded is the unpacked one, through ../lib/tallyra: listing the
# ports (the demo device among them) needs it.
status=0
out=$(run env LD_DEBUG=libs SERDRV_SIMULATED_PORTS=1 "$cli" ports 2>"$work/ports.err") || status=$?
if [ "$status" -eq 0 ]; then
  printf '%s\n' "$out" | grep -q '^DEMO' || fail "ports: no DEMO device listed"
  loaded=$(grep -o 'calling init: .*libserdrvLux64\.so' "$work/ports.err" | sed 's/^calling init: //' | head -1)
  if [ -z "$loaded" ]; then
    fail "ports loaded no libserdrvLux64.so"
  elif [ "$(realpath "$loaded")" != "$usr/lib/tallyra/libserdrvLux64.so" ]; then
    fail "ports loaded $loaded, not the unpacked driver library"
  fi
else
  grep -v '^ *[0-9]*:' "$work/ports.err" >&2 || true
  fail "tallyra-cli ports: exit status $status"
fi

# Without the unpacked driver library nothing else may stand in for it (build tree, system).
if [ -f "$usr/lib/tallyra/libserdrvLux64.so" ]; then
  mv "$usr/lib/tallyra/libserdrvLux64.so" "$work/moved.so"
  status=0
  run "$cli" ports >/dev/null 2>&1 || status=$?
  [ "$status" -eq 3 ] || fail "ports without the unpacked driver library: exit status $status, not 3"
  mv "$work/moved.so" "$usr/lib/tallyra/libserdrvLux64.so"
fi

# --- manual pages ---------------------------------------------------------------------------
for page in "$usr"/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || true
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
# Every option of tallyra-cli --help is described in its manual page.
page=$(gzip -dc "$usr/share/man/man1/tallyra-cli.1.gz")
for opt in $(run "$cli" --help | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u); do
  grep -qF -- "\\-\\-${opt#--}" <<<"$page" || fail "tallyra-cli.1 does not describe $opt"
done

# --- desktop entry and AppStream metadata ---------------------------------------------------
if [ "$gui" = 1 ]; then
  desktop=$usr/share/applications/tallyra.desktop
  metainfo=$usr/share/metainfo/com.brindle.Tallyra.metainfo.xml
else
  desktop=$src/resources/tallyra.desktop
  metainfo=$src/resources/com.brindle.Tallyra.metainfo.xml
fi
desktop-file-validate "$desktop" || fail "desktop-file-validate $(basename "$desktop")"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $(basename "$metainfo")"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ "$exec_name" = tallyra ] || fail "the desktop entry starts '$exec_name', not tallyra"
grep -qF '<launchable type="desktop-id">tallyra.desktop</launchable>' "$metainfo" ||
  fail "the AppStream metadata does not launch tallyra.desktop"
if [ "$gui" = 1 ]; then
  # The installed tree as software centres read it: metadata, desktop entry and icon together.
  appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"
  [ -x "$usr/bin/$exec_name" ] || fail "the desktop entry's program /usr/bin/$exec_name is not in the package"
fi
if [ "$icons" = 1 ]; then
  [ -f "$usr/share/icons/hicolor/48x48/apps/$icon_name.png" ] ||
    fail "the desktop entry's icon $icon_name is not in the package"
fi

# --- lintian --------------------------------------------------------------------------------
status=0
lint=$(lintian --fail-on error "$deb" 2>&1) || status=$?
printf '%s\n' "$lint" | grep -v 'running with root privileges' || true
[ "$status" -eq 0 ] || fail "lintian reports errors (exit status $status)"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package test passed"
