#!/usr/bin/env bash
# Builds photocheck's Windows setup program and zip on Debian 12:
#   dist/windows/photocheck-<version>-setup.exe   installs into Program Files\photocheck (NSIS; /S silent)
#   dist/windows/photocheck-<version>-win64.zip   the same folder, photocheck\, for use without installing
# The folder holds photocheck.exe, photocheck-cli.exe, the data package xl.oef and what they need
# (deploy.sh). Libraries and Qt for Windows are built into the cache first when it lacks them
# (build-deps.sh --with-qt: more than an hour the first time), then the programs (build.sh).
#
#   scripts/windows/package.sh                   the window and the command line
#   scripts/windows/package.sh --without-window  the command line only (no Qt needed; no Start-menu entry)
set -euo pipefail
cd "$(dirname "$0")/../.."
here=scripts/windows
build=${BUILD_DIR:-build-windows}
dist=dist/windows
triplet=x86_64-w64-mingw32

with_window=1
case ${1:-} in
  "") ;;
  --without-window) with_window=0 ;;
  *) echo "package.sh: unknown argument $1 (see the head of $0)" >&2; exit 1 ;;
esac

version=$(sed -n 's/^project(photocheck VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The program's title, as the Linux desktop entry names it.
title=$(sed -n 's/^Name=//p' app/photocheck.desktop)

if [ $with_window = 1 ]; then
  eval "$("$here/build-deps.sh" --with-qt)"
  "$here/build.sh" photocheck photocheck-cli
  programs=(photocheck.exe photocheck-cli.exe)
else
  "$here/build.sh" photocheck-cli
  programs=(photocheck-cli.exe)
fi
eval "$("$here/build-deps.sh" --print-env)"

stage=$build/package/photocheck
rm -rf "$stage" && mkdir -p "$stage" "$dist"
for program in "${programs[@]}"; do install -m 755 "$build/bin/$program" "$stage/"; done
install -m 644 "$build/bin/xl.oef" "$stage/"
"$here/deploy.sh" "$stage"
find "$stage" -iname '*.exe' -o -iname '*.dll' | xargs "$triplet-strip" --strip-unneeded

# NSIS's lists of what to install and what to remove on uninstalling: exactly the staged files.
windows_path() { printf '%s' "${1//\//\\}"; }
lists=$build/package
(
  cd "$stage"
  find . -type d | sort | while read -r dir; do
    printf 'SetOutPath "$INSTDIR%s"\n' "$(windows_path "${dir#.}")"
    find "$dir" -maxdepth 1 -type f | sort | while read -r file; do
      printf 'File "%s"\n' "$PWD/${file#./}"
    done
  done
) >"$lists/install.nsh"
(
  cd "$stage"
  find . -type f | sort | while read -r file; do printf 'Delete "$INSTDIR%s"\n' "$(windows_path "${file#.}")"; done
  find . -mindepth 1 -type d | sort -r | while read -r dir; do printf 'RMDir "$INSTDIR%s"\n' "$(windows_path "${dir#.}")"; done
) >"$lists/remove.nsh"

setup=$dist/photocheck-$version-setup.exe
window_define=()
[ $with_window = 0 ] || window_define=(-DWINDOW)
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DAPP_TITLE="$title" \
  -DICON="$PWD/$build/windows/photocheck.ico" -DINSTALL_LIST="$PWD/$lists/install.nsh" \
  -DREMOVE_LIST="$PWD/$lists/remove.nsh" -DOUT_FILE="$PWD/$setup" -DSIZE_KB="$(du -sk "$stage" | cut -f1)" \
  "${window_define[@]}" "$here/photocheck.nsi"

zip=$dist/photocheck-$version-win64.zip
rm -f "$zip"
(cd "$stage/.." && zip -qr9 "$OLDPWD/$zip" photocheck)

echo "$setup ($(du -h "$setup" | cut -f1))"
echo "$zip ($(du -h "$zip" | cut -f1))"
