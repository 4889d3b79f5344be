#!/usr/bin/env bash
# Tests the Windows setup program under Wine, in a Wine prefix of its own (so that nothing installed
# reaches the prefix the other tests use):
#  1. a silent install (/S) puts the programs, the data package and the uninstaller into
#     C:\Program Files\photocheck, the Start-menu entry (when the setup has the window) and the
#     uninstall entry of Apps and Features;
#  2. the installed photocheck-cli.exe runs a batch over a copy of samples/ in a folder with a Chinese
#     name: one row per photo, and each photo that has a golden row (tests/golden) gets exactly that row;
#  3. with the window: the installed photocheck.exe starts on that folder, a click on its run button
#     checks it, and the rows and copies are those of photocheck-cli.exe's batch (screenshot SHOT of the
#     window after the run, when given);
#  4. a silent uninstall leaves no file of the program, no Start-menu entry and no uninstall entry.
#
#   scripts/windows/test-installer.sh [SETUP.exe [SHOT.png]]   (default: dist/windows/photocheck-<version>-setup.exe)
set -euo pipefail
cd "$(dirname "$0")/../.."
here=scripts/windows
version=$(sed -n 's/^project(photocheck VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
setup=${1:-dist/windows/photocheck-$version-setup.exe}
shot=${2:-}
title=$(sed -n 's/^Name=//p' app/photocheck.desktop)
export PHOTOCHECK_WINE_PREFIX=${PHOTOCHECK_WINE_PREFIX:-${PHOTOCHECK_WINDOWS_CACHE:-$HOME/.cache/photocheck-windows}/wine-prefix-installer}
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"

# One display and one wineserver for every program below.
if [ -z "${DISPLAY:-}" ]; then
  photocheck_wine_prefix
  exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi
[ -f "$setup" ] || { echo "no setup program $setup: run $here/package.sh" >&2; exit 1; }
photocheck_wine_prefix

installed="$WINEPREFIX/drive_c/Program Files/photocheck"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$title.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\photocheck'
scratch=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
failures=0
pass() { echo "PASS  $*"; }
fail() { echo "FAIL  $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }
has_uninstall_entry() { wine reg query "$uninstall_key" /v DisplayName >/dev/null 2>&1; }
has_window() { [ -f "$installed/photocheck.exe" ]; }
window_caption="Varnel电子照片检测"  # the main window's caption
run_button=(168 30)                # the middle of the toolbar's run button, in the window

# A leftover of an interrupted run would hide what this setup installs.
if [ -e "$installed" ]; then
  wine "$installed/uninstall.exe" /S 2>/dev/null || true
  wineserver -w
  rm -rf "$installed"
fi

# --- 1. the silent install
wine "$setup" /S
wineserver -w
check "photocheck-cli.exe, xl.oef and uninstall.exe installed" \
  test -f "$installed/photocheck-cli.exe" -a -f "$installed/xl.oef" -a -f "$installed/uninstall.exe"
check "the uninstall entry of Apps and Features" has_uninstall_entry
if has_window; then
  check "photocheck.exe with Qt's windows platform plugin" test -f "$installed/platforms/qwindows.dll"
  check "the Start-menu entry $title" test -f "$shortcut"
fi

# --- 2. the installed command line over a copy of the samples
# A golden row (INSERT statement) as the CSV line the batch writes for it, the photos lying in FOLDER.
columns=name,mode,pix,Picsize,bluePercent,clarityPercent,headPercent,regularPercent,eyeLeftlet,eyeRightlet,reason,result,folderPath
golden_csv_line() {
  local row folder=$2 names values
  row=$(cat "$1")
  names=$(sed 's/^insert into pictureMsg (\([^)]*\)) values (.*$/\1/' <<<"$row")
  values=$(sed 's/^.* values (\(.*\))$/\1/' <<<"$row")
  local -A value=()
  local -a name_list value_list
  IFS=, read -ra name_list <<<"$names"
  IFS=, read -ra value_list <<<"$values"
  local i v line=""
  for i in "${!name_list[@]}"; do
    v=$(sed "s/^ *'\{0,1\} *//; s/ *'\{0,1\} *$//" <<<"${value_list[$i]}")
    value[${name_list[$i]}]=${v/<GOLDEN>\//$folder}
  done
  IFS=, read -ra name_list <<<"$columns"
  for i in "${!name_list[@]}"; do line+=$([ "$i" = 0 ] || echo ,)${value[${name_list[$i]}]:-}; done
  echo "$line"
}

photos=$scratch/照片
mkdir -p "$photos"
cp samples/* "$photos/"
folder_windows="$(winepath -w "$photos")\\"
wine "C:\\Program Files\\photocheck\\photocheck-cli.exe" batch "$(winepath -w "$photos")" \
  --work-folder "$(winepath -w "$scratch/work")" --csv "$(winepath -w "$scratch/rows.csv")" >"$scratch/batch.log" 2>&1 ||
  fail "the installed photocheck-cli.exe batch ended with status $? ($(tail -n 3 "$scratch/batch.log"))"
tr -d '\r' <"$scratch/rows.csv" | sed '1s/^\xef\xbb\xbf//' >"$scratch/rows"
check "one row per sample photo ($(ls samples | wc -l))" test "$(($(wc -l <"$scratch/rows") - 1))" = "$(ls samples | wc -l)"
for golden in tests/golden/*.row; do
  case $golden in *.pupils.row) continue ;; esac
  name=$(basename "$golden" .row)
  expected=$(golden_csv_line "$golden" "$folder_windows")
  actual=$(grep "^$name," "$scratch/rows" || true)
  if [ "$actual" = "$expected" ]; then pass "row of $name"; else fail "row of $name: $actual, expected $expected"; fi
done

# --- 3. the installed window: a click on its run button checks the same folder
# The rows of a working folder's database as the installed photocheck-cli.exe lists them.
rows_of() { wine "C:\\Program Files\\photocheck\\photocheck-cli.exe" query --json --work-folder "$(winepath -w "$1")" 2>/dev/null; }
copies() { find "$scratch/合格照片" "$scratch/不合格照片" -type f 2>/dev/null | sed "s|^$scratch/||" | sort; }
if has_window; then
  rows_of "$scratch/work" >"$scratch/cli-rows.json"
  copies >"$scratch/cli-copies"
  wine "C:\\Program Files\\photocheck\\photocheck.exe" "$(winepath -w "$photos")" \
    --work-folder "$(winepath -w "$scratch/window-work")" >"$scratch/window.log" 2>&1 &
  window=""
  for _ in $(seq 90); do
    window=$(xdotool search --name "$window_caption" 2>/dev/null | head -n1 || true)
    [ -z "$window" ] || break
    sleep 1
  done
  check "the installed photocheck.exe shows its window" test -n "$window"
  if [ -n "$window" ]; then
    sleep 3  # the first paint
    xdotool mousemove --window "$window" "${run_button[@]}" click 1
    for _ in $(seq 180); do
      [ "$(copies | wc -l)" -lt "$(wc -l <"$scratch/cli-copies")" ] || break
      sleep 1
    done
    sleep 3  # the summary of the last photo, the grid's refresh
    # The window keeps its database open (and deletes the working files when it closes): its rows are
    # read from a copy of the working folder.
    cp -r "$scratch/window-work" "$scratch/window-work-copy"
    rows_of "$scratch/window-work-copy" >"$scratch/window-rows.json" || true
    check "the window's rows are those of photocheck-cli.exe batch" cmp -s "$scratch/cli-rows.json" "$scratch/window-rows.json"
    check "the window's copies are those of photocheck-cli.exe batch" cmp -s "$scratch/cli-copies" <(copies)
    if [ -n "$shot" ]; then
      eval "$(xdotool getwindowgeometry --shell "$window")"
      import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
      echo "      screenshot: $shot"
    fi
    xdotool windowclose "$window" 2>/dev/null || true
  fi
  wineserver -k 2>/dev/null || true
  wineserver -w
fi

# --- 4. the silent uninstall
wine "$installed/uninstall.exe" /S
wineserver -w  # the uninstaller goes on from a copy of itself in the temporary folder
check "no file of the program left in C:\\Program Files\\photocheck" test ! -e "$installed"
check "no Start-menu entry left" test ! -e "$shortcut"
check "no uninstall entry left" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"

[ $failures = 0 ] && echo "test-installer: every check passed" || echo "test-installer: $failures checks failed"
[ $failures = 0 ]
