#!/usr/bin/env bash
# Exactness on Windows: photocheck-cli.exe under Wine must measure every photo as the Linux build does.
#
#   scripts/windows/compare-exactness.sh [LINUX_BUILD [WINDOWS_BUILD]]    (default: build, build-windows)
#
# 1. `check --debug` over samples/ (the golden cases among them) under several threshold sets: the JSON lines
#    (rows, verdicts and every debug line) byte for byte the same.
# 2. `batch` over a photo folder with a Chinese subfolder and file name: the same log lines, the same
#    CSV rows (the folder column written with Windows separators, compared after turning them into
#    "/"), the same copies in the result folders.
# 3. The colour-model tests (gray levels and hue in 80-bit extended arithmetic, every RGB triple)
#    under Wine, when test_imaging.exe is built.
# Prints what differs and exits 1 when anything does.
set -euo pipefail
cd "$(dirname "$0")/../.."
linux_build=${1:-build}
windows_build=${2:-build-windows}
# shellcheck source=wine-env.sh
source scripts/windows/wine-env.sh

# One display and one wineserver for all the programs below (a display per program costs seconds).
if [ -z "${DISPLAY:-}" ]; then
  photocheck_wine_prefix
  exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi
photocheck_wine_prefix

linux_cli=$linux_build/bin/photocheck-cli
windows_cli=$windows_build/bin/photocheck-cli.exe
for program in "$linux_cli" "$windows_cli"; do
  [ -x "$program" ] || { echo "missing $program: build it first" >&2; exit 1; }
done

scratch=$(mktemp -d)
trap 'wineserver -w 2>/dev/null || true; rm -rf "$scratch"' EXIT
failures=0

# Compares two files; prints the first differences when they differ (or when the first is empty).
same() {
  local what=$1 expected=$2 actual=$3
  if [ -s "$expected" ] && cmp -s "$expected" "$actual"; then
    echo "PASS  $what"
  else
    echo "FAIL  $what"
    diff "$expected" "$actual" | head -20 || true
    failures=$((failures + 1))
  fi
}

mapfile -t photos < <(ls samples/*.jpg samples/*.jpeg 2>/dev/null)
iconv -f UTF-8 -t GBK data/SetParameters.utf8.ini >"$scratch/SetParameters.ini"

# check: the same JSON lines under each threshold set.
threshold_sets=(
  "none:"
  "package:--params $scratch/SetParameters.ini"
  "package-pupils:--params $scratch/SetParameters.ini --pupils"
  "strict:--size-kb 40 --blue 95 --clarity 20 --regular 95 --head 60 --pupils"
  "lenient:--size-kb 1 --blue 10 --clarity 100000 --regular 10 --head 10"
)
for set in "${threshold_sets[@]}"; do
  name=${set%%:*}
  read -r -a options <<<"${set#*:}"
  "$linux_cli" check --debug "${options[@]}" "${photos[@]}" >"$scratch/check-$name.linux" || true
  wine "$windows_cli" check --debug "${options[@]}" "${photos[@]}" >"$scratch/check-$name.windows" || true
  same "check --debug, thresholds $name (${#photos[@]} photos)" "$scratch/check-$name.linux" \
    "$scratch/check-$name.windows"
done

# batch: a folder of the same photos for each build, with subfolders and a file named in Chinese.
for side in linux windows; do
  folder=$scratch/$side/证件照
  mkdir -p "$folder/第二批" "$scratch/$side/work"
  chmod 700 "$scratch/$side/work"
  cp samples/* "$folder/"
  cp samples/pass-a.jpg "$folder/第二批/考生照片.jpg"
  cp samples/small-file.jpg "$folder/第二批/small-file.jpg"
done
"$linux_cli" batch "$scratch/linux/证件照" --work-folder "$scratch/linux/work" --csv "$scratch/linux.csv" \
  >"$scratch/batch.linux" 2>&1 || true
wine "$windows_cli" batch "$scratch/windows/证件照" --work-folder "$scratch/windows/work" \
  --csv "$scratch/windows.csv" >"$scratch/batch.windows" 2>&1 || true
same "batch: log lines" "$scratch/batch.linux" "$scratch/batch.windows"
# The folder column: Z:\tmp\...\windows\证件照\ on Windows, /tmp/.../linux/证件照/ on Linux.
windows_root=$(winepath -w "$scratch/windows" | sed 's/\\/\\\\/g')
sed "s|$windows_root|$scratch/linux|; s|\\\\|/|g" "$scratch/windows.csv" >"$scratch/windows-folders.csv"
same "batch: CSV rows (folders with / for \\)" "$scratch/linux.csv" "$scratch/windows-folders.csv"
for result in 合格照片 不合格照片; do
  (cd "$scratch/linux/$result" && find . -type f | sort | xargs md5sum) >"$scratch/$result.linux"
  (cd "$scratch/windows/$result" && find . -type f | sort | xargs md5sum) >"$scratch/$result.windows"
  same "batch: the copies in $result" "$scratch/$result.linux" "$scratch/$result.windows"
done

# The 80-bit extended arithmetic itself, on every RGB triple.
test_imaging=$windows_build/bin/test_imaging.exe
if [ -f "$test_imaging" ]; then
  if wine "$test_imaging" --gtest_brief=1 \
    --gtest_filter='RgbToHsv.*:GrayLevel.*:GrayLevelsOfPixels.*:ThresholdPixels.*:SoftExtended.*:Extended.*' \
    >"$scratch/colour-model.txt" 2>&1; then
    echo "PASS  colour-model tests under Wine ($(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' \
      "$scratch/colour-model.txt" | head -1))"
  else
    echo "FAIL  colour-model tests under Wine"
    tail -30 "$scratch/colour-model.txt"
    failures=$((failures + 1))
  fi
else
  echo "SKIP  colour-model tests: $test_imaging is not built"
fi

if [ $failures -gt 0 ]; then
  echo "$failures comparisons differ"
  exit 1
fi
echo "Windows and Linux agree."
