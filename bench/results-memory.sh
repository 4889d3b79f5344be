#!/usr/bin/env bash
# Peak memory of the command line going through the reopened results. Builds photocheck-cli and the
# table tool (Release, in build-bench unless BUILD_DIR says otherwise), fills the results table of a
# working folder with generated rows for each count and runs, under /usr/bin/time -v,
#   photocheck-cli query --work-folder WORK                  (the rows as the grid shows them)
#   photocheck-cli query --work-folder WORK --csv FILE
#   photocheck-cli query --work-folder WORK --json
# which open and print the results as `batch --show-results` and `batch --csv` do after a run. It prints
# the time and the peak resident set size of each. The target: for each output, the peak at the largest
# count at most 10 % above that at the smallest (the rows are gone through, never held).
#
#   bench/results-memory.sh                  # 10,000 and 100,000 rows
#   ROWS="10000 100000 1000000" bench/results-memory.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build-bench}
counts=(${ROWS:-10000 100000})
growth_percent=10

if [ ! -x /usr/bin/time ]; then
  echo "Installing GNU time"
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends time
fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DPHOTOCHECK_BENCH=ON -DPHOTOCHECK_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target photocheck-cli photocheck-bench-rows data-package >/dev/null

scratch=$(mktemp -d "${SCRATCH:-$build_dir}/results-memory-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
cli="$build_dir/bin/photocheck-cli"
work="$scratch/work"
"$cli" query --work-folder "$work" --verdict none >/dev/null  # installs the working files

field() {  # field LABEL FILE
  awk -F': ' -v label="$1" '$0 ~ label {print $2}' "$2"
}

outputs=(table csv json)
arguments() {  # arguments OUTPUT
  case $1 in
    table) echo "" ;;
    csv) echo "--csv $scratch/rows.csv" ;;
    json) echo "--json" ;;
  esac
}

printf '%8s %6s %10s %10s\n' rows output seconds "peak MB"
declare -A peak
for n in "${counts[@]}"; do
  "$build_dir/bin/photocheck-bench-rows" "$work" --rows "$n" >/dev/null
  for output in "${outputs[@]}"; do
    # shellcheck disable=SC2046
    /usr/bin/time -v -o "$scratch/time.txt" "$cli" query --work-folder "$work" $(arguments "$output") \
      >"$scratch/out.txt"
    rss=$(field "Maximum resident set size" "$scratch/time.txt")
    wall=$(field "Elapsed \\(wall clock\\) time" "$scratch/time.txt" | awk -F: '{print ($1 * 60) + $2}')
    peak[$n,$output]=$rss
    awk -v n="$n" -v o="$output" -v w="$wall" -v kb="$rss" 'BEGIN {printf "%8d %6s %10.2f %10.1f\n", n, o, w, kb / 1024}'
  done
done

flat=PASS
smallest=${counts[0]}
largest=${counts[${#counts[@]}-1]}
for output in "${outputs[@]}"; do
  [ $((peak[$largest,$output] * 100)) -le $((peak[$smallest,$output] * (100 + growth_percent))) ] || flat=MISS
  awk -v a="${peak[$smallest,$output]}" -v b="${peak[$largest,$output]}" -v o="$output" -v s="$smallest" -v l="$largest" \
    'BEGIN {printf "%s: peak %.1f MB at %d rows, %.1f MB at %d rows (%+.1f %%)\n", o, a / 1024, s, b / 1024, l, (b - a) * 100 / a}'
done
echo "peak not growing (at most ${growth_percent} % more for the largest table): $flat"
