#!/usr/bin/env bash
# Stages the installed layout: stage.sh BUILD_DIR STAGE_DIR WINE_PREFIX. The folder is made
# anew by CMake's install rules, then checked: every DLL that a program, a DLL or a plugin in
# it imports is either in the folder itself or one of Windows' own (those in the system folder
# of the Wine prefix, apart from the runtime and Qt libraries that Wine does not stand in for).
set -euo pipefail
build=$1
stage=$2
system32=$3/drive_c/windows/system32
case "$stage" in
  /*/stage) ;;
  *) echo "stage.sh: refusing to replace '$stage'" >&2; exit 2 ;;
esac
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null
declare -A windows_dlls=()
for dll in "$system32"/*.dll; do
  name=${dll##*/}
  windows_dlls[${name,,}]=1
done
missing=0
count=0
while IFS= read -r -d '' binary; do
  count=$((count + 1))
  for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    lower=${dll,,}
    [ -e "$stage/$dll" ] && continue
    if [[ $lower != lib* && $lower != qt6* && $lower != api-ms-* ]] &&
       [ -n "${windows_dlls[$lower]:-}" ]; then
      continue
    fi
    # API sets are names that Windows resolves itself.
    [[ $lower == api-ms-win-* ]] && continue
    echo "stage.sh: ${binary#$stage/} needs $dll, which is not in the installation" >&2
    missing=1
  done
done < <(find "$stage" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)
for file in tallyra.exe tallyra-cli.exe serdrvWin.dll platforms/qwindows.dll \
            licenses/LICENSE.txt licenses/THIRD-PARTY-NOTICES.txt; do
  [ -f "$stage/$file" ] || { echo "stage.sh: $file is missing" >&2; missing=1; }
done
[ "$missing" = 0 ] || exit 1
echo "stage.sh: $count programs and DLLs in $stage, every DLL they import is there or in Windows"
