#!/usr/bin/env bash
# Peak memory of the batch run. Builds photocheck-cli (Release, in build-bench unless BUILD_DIR says
# otherwise), fills a folder with generated photos for each count and runs
#   photocheck-cli batch FOLDER --work-folder WORK -j N --show-results --csv FILE
# under /usr/bin/time -v, printing the peak resident set size of each run. The target: every peak under
# 64 MB, and the peak of the largest folder not growing over that of the smallest by more than 10 %.
# What does grow is the list of files (built before the first check); the rows the run reopens at its
# end are printed and written as they are read, not held. The script prints the growth per added photo.
#
#   bench/batch-memory.sh                    # 2,000 and 10,000 photos at -j 1 and -j 2
#   PHOTOS="2000 10000 20000" JOBS=2 bench/batch-memory.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build-bench}
counts=(${PHOTOS:-2000 10000})
jobs=(${JOBS:-1 2})
distinct=${DISTINCT:-300}  # painted photos per folder; the rest are copies under other names
limit_kb=$((64 * 1024))
growth_percent=10

if [ ! -x /usr/bin/time ]; then
  echo "Installing GNU time"
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends time
fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DPHOTOCHECK_BENCH=ON -DPHOTOCHECK_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target photocheck-cli photocheck-bench-folder data-package >/dev/null

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
smallest=${counts[0]}
largest=${counts[${#counts[@]}-1]}
for j in "${jobs[@]}"; do
  for n in "${counts[@]}"; do
    [ "${peak[$n,$j]}" -lt "$limit_kb" ] || under=MISS
  done
  [ $((peak[$largest,$j] * 100)) -le $((peak[$smallest,$j] * (100 + growth_percent))) ] || flat=MISS
  awk -v a="${peak[$smallest,$j]}" -v b="${peak[$largest,$j]}" -v j="$j" -v s="$smallest" -v l="$largest" \
    'BEGIN {printf "-j %d: peak %.1f MB at %d photos, %.1f MB at %d photos (%+.1f %%, %.2f KB per added photo)\n",
            j, a / 1024, s, b / 1024, l, (b - a) * 100 / a, (b - a) / (l - s)}'
done
echo "every run under 64 MB: $under"
echo "peak not growing (at most ${growth_percent} % more for the largest folder): $flat"
