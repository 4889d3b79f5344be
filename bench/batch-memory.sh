#!/usr/bin/env bash
# Peak memory of the batch run. Builds photocheck-cli (Release, in build-bench unless BUILD_DIR says
# otherwise), fills a folder with generated photos for each count (hard links of a few hundred painted
# ones, so a large folder costs little; the copies the run makes are real) and runs
#   photocheck-cli batch FOLDER --work-folder WORK -j N --show-results --csv FILE
# under /usr/bin/time -v, printing the peak resident set size of each run. The targets: every peak
# under 64 MB, and the peak at 10,000 photos at most 3 MB above the peak at 1,000. The list of files
# is held compactly and the rows the run reopens at its end are printed and written as they are read,
# not held. The script prints the growth per added photo.
#
#   bench/batch-memory.sh                    # 1,000, 10,000 and 100,000 photos at -j 1 and -j 2
#   PHOTOS="1000 10000" JOBS=1 bench/batch-memory.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build-bench}
counts=(${PHOTOS:-1000 10000 100000})
jobs=(${JOBS:-1 2})
distinct=${DISTINCT:-300}  # painted photos per folder; the rest are copies under other names
limit_kb=$((64 * 1024))
growth_limit_kb=$((3 * 1024))  # from 1,000 to 10,000 photos

if [ ! -x /usr/bin/time ]; then
  echo "Installing GNU time"
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends time
fi
if [ -z "${NO_BUILD:-}" ]; then
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DPHOTOCHECK_BENCH=ON -DPHOTOCHECK_TESTS=OFF >/dev/null
  cmake --build "$build_dir" -j"$(nproc)" --target photocheck-cli photocheck-bench-folder data-package >/dev/null
fi

scratch=$(mktemp -d "${SCRATCH:-$build_dir}/memory-scratch-XXXXXX")  # /tmp is slow to create files in on some machines
trap 'rm -rf "$scratch"' EXIT

kb_field() {  # kb_field FILE LABEL
  awk -F': ' -v label="$1" '$0 ~ label {print $2}' "$2"
}

printf '%8s %4s %10s %10s %12s\n' photos jobs seconds "peak MB" "photos/s"
declare -A peak
for n in "${counts[@]}"; do
  folder="$scratch/run-$n/photos"
  "$build_dir/bin/photocheck-bench-folder" "$folder" --count "$n" --distinct "$distinct" >/dev/null
  for j in "${jobs[@]}"; do
    /usr/bin/time -v -o "$scratch/time.txt" \
      "$build_dir/bin/photocheck-cli" batch "$folder" --work-folder "$scratch/work" -j "$j" \
      --show-results --csv "$scratch/rows.csv" >"$scratch/out.txt"
    rss=$(kb_field "Maximum resident set size" "$scratch/time.txt")
    wall=$(kb_field "Elapsed \\(wall clock\\) time" "$scratch/time.txt" | awk -F: '{print ($1 * 60) + $2}')
    peak[$n,$j]=$rss
    awk -v n="$n" -v j="$j" -v w="$wall" -v kb="$rss" \
      'BEGIN {printf "%8d %4d %10.2f %10.1f %12.0f\n", n, j, w, kb / 1024, n / w}'
  done
  rm -rf "$scratch/run-$n"
done

under=PASS
flat=PASS
flat_measured=
smallest=${counts[0]}
for j in "${jobs[@]}"; do
  for n in "${counts[@]}"; do
    [ "${peak[$n,$j]}" -lt "$limit_kb" ] || under=MISS
    [ "$n" = "$smallest" ] && continue
    awk -v a="${peak[$smallest,$j]}" -v b="${peak[$n,$j]}" -v j="$j" -v s="$smallest" -v l="$n" \
      'BEGIN {printf "-j %d: %.1f MB at %d photos, %.1f MB at %d photos (%+.1f MB, %.3f KB per added photo)\n",
              j, a / 1024, s, b / 1024, l, (b - a) / 1024, (b - a) / (l - s)}'
  done
  if [ -n "${peak[1000,$j]:-}" ] && [ -n "${peak[10000,$j]:-}" ]; then
    flat_measured=1
    [ $((peak[10000,$j] - peak[1000,$j])) -le "$growth_limit_kb" ] || flat=MISS
  fi
done
echo "every run under 64 MB: $under"
if [ -n "$flat_measured" ]; then
  echo "peak at 10,000 photos at most 3 MB above the peak at 1,000: $flat"
else
  echo "peak at 10,000 photos against 1,000: not measured (PHOTOS lacks 1000 or 10000)"
fi
