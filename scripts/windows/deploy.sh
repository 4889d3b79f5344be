#!/usr/bin/env bash
# Makes a folder of Windows programs runnable on a Windows PC that has nothing installed: copies into
# FOLDER every DLL that its programs need, found from what they import (objdump -p), recursively, in
# Qt's bin folder, the library cache and the MinGW runtime of the cross compiler. A DLL found in none
# of them must be one of Windows' own (mingw-w64 has an import library for it); any other stops the
# deploy. When a program uses Qt's GUI, Qt's plugins and its Chinese translation go beside it too:
# platforms/qwindows.dll, styles/qwindowsvistastyle.dll, translations/qtbase_zh_CN.qm (Qt finds them
# there because Qt6Core.dll lies in the program's folder: no qt.conf needed).
#
#   deploy.sh FOLDER [PLUGIN...]    PLUGIN: more of Qt's plugins, e.g. platforms/qoffscreen
#
# PHOTOCHECK_WINDOWS_QT and PHOTOCHECK_WINDOWS_PREFIX name the prefixes (build-deps.sh --print-env).
set -euo pipefail
folder=$1
shift
triplet=x86_64-w64-mingw32
qt=${PHOTOCHECK_WINDOWS_QT:-}
sysroot=/usr/$triplet/lib
search=()
[ -z "$qt" ] || search+=("$qt/bin")
[ -z "${PHOTOCHECK_WINDOWS_PREFIX:-}" ] || search+=("$PHOTOCHECK_WINDOWS_PREFIX/bin")
search+=("$(dirname "$($triplet-g++-posix -print-libgcc-file-name)")" "$sysroot")
plugins=(platforms/qwindows styles/qwindowsvistastyle "$@")
translations=/usr/share/qt6/translations  # Debian's qt6-translations-l10n, Qt's own version

die() { echo "deploy: $*" >&2; exit 1; }

imports_of() { $triplet-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }

# The file of the DLL NAME in the search folders (Windows compares DLL names without case).
find_dll() {
  local dir
  for dir in "${search[@]}"; do
    [ -d "$dir" ] || continue
    find "$dir" -maxdepth 1 -iname "$1" -print -quit | grep . && return 0
  done
  return 1
}

is_windows_dll() {
  local base=${1%.*}
  case ${base,,} in api-ms-win-* | ext-ms-win-*) return 0 ;; esac
  [ -e "$sysroot/lib${base,,}.a" ]
}

uses_qt_gui() {
  local program
  for program in "$folder"/*.exe; do
    imports_of "$program" | grep -qix 'Qt6Gui.dll' && return 0
  done
  return 1
}

copy_qt_extras() {
  [ -n "$qt" ] || die "the programs use Qt, but PHOTOCHECK_WINDOWS_QT is not set"
  local plugin
  for plugin in "${plugins[@]}"; do
    [ -f "$qt/plugins/$plugin.dll" ] || die "Qt has no plugin $plugin.dll ($qt/plugins)"
    install -D -m 644 "$qt/plugins/$plugin.dll" "$folder/$plugin.dll"
  done
  [ -f "$translations/qtbase_zh_CN.qm" ] || die "no $translations/qtbase_zh_CN.qm (apt-get install qt6-translations-l10n)"
  install -D -m 644 "$translations/qtbase_zh_CN.qm" "$folder/translations/qtbase_zh_CN.qm"
}

# Every DLL imported by the programs and plugins in FOLDER, and by those DLLs in turn.
copy_imports() {
  local pending seen="" binary name found
  mapfile -t pending < <(find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \))
  while [ ${#pending[@]} -gt 0 ]; do
    binary=${pending[0]}
    pending=("${pending[@]:1}")
    for name in $(imports_of "$binary"); do
      case " $seen " in *" ${name,,} "*) continue ;; esac
      seen+=" ${name,,}"
      if found=$(find_dll "$name"); then
        install -m 644 "$found" "$folder/$(basename "$found")"
        pending+=("$folder/$(basename "$found")")
      elif ! is_windows_dll "$name"; then
        die "$binary imports $name, found neither in ${search[*]} nor among Windows' own DLLs"
      fi
    done
  done
}

[ -d "$folder" ] || die "no folder $folder"
if uses_qt_gui; then copy_qt_extras; fi
copy_imports
