#!/usr/bin/env bash
# Whole processes: `photocheck-cli check` over many passing photos against a program that only decodes
# the same files with the same libjpeg settings (photocheck-bench-decode), taken in turn for several
# rounds; the fastest round of each counts. The target: the check at most 1.3 x the decode.
#
#   bench/check-processes.sh                 # 120 passing photos, 7 rounds
#   PHOTOS=240 ROUNDS=9 bench/check-processes.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build-bench}
photos=${PHOTOS:-120}
rounds=${ROUNDS:-7}
limit=1.3
thresholds=(--size-kb 30 --blue 90 --clarity 200 --regular 90 --head 50)  # those of SetParameters.ini

if [ -z "${NO_BUILD:-}" ]; then
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DPHOTOCHECK_BENCH=ON -DPHOTOCHECK_TESTS=OFF >/dev/null
  cmake --build "$build_dir" -j"$(nproc)" --target photocheck-cli photocheck-bench-decode \
    photocheck-bench-folder >/dev/null
fi
cli="$build_dir/bin/photocheck-cli"
decode="$build_dir/bin/photocheck-bench-decode"
for tool in "$cli" "$decode" "$build_dir/bin/photocheck-bench-folder"; do
  [ -x "$tool" ] || { echo "missing $tool" >&2; exit 2; }
done

scratch=$(mktemp -d "${SCRATCH:-$build_dir}/check-scratch-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# Painted photos only (no copies), of which the passing ones are kept.
"$build_dir/bin/photocheck-bench-folder" "$scratch/all" --count $((photos * 2)) --distinct $((photos * 2)) >/dev/null
mapfile -t painted < <(find "$scratch/all" -type f | sort)
mapfile -t files < <("$cli" check "${thresholds[@]}" "${painted[@]}" |
  grep '"verdict":"合格"' | sed 's/^{"file":"\([^"]*\)".*/\1/' | head -n "$photos")
if [ "${#files[@]}" -lt "$photos" ]; then
  echo "only ${#files[@]} passing photos among ${#painted[@]}" >&2
  exit 2
fi

seconds() {  # seconds COMMAND...: wall time of one run, output discarded
  local start=$EPOCHREALTIME
  "$@" >/dev/null
  awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.4f", b - a}'
}

best_decode=999 best_check=999 low=999 high=0
for ((r = 1; r <= rounds; r++)); do
  d=$(seconds "$decode" "${files[@]}")
  c=$(seconds "$cli" check "${thresholds[@]}" "${files[@]}")
  read -r best_decode best_check low high < <(awk -v d="$d" -v c="$c" -v bd="$best_decode" \
    -v bc="$best_check" -v lo="$low" -v hi="$high" 'BEGIN {
      r = c / d; print (d < bd ? d : bd), (c < bc ? c : bc), (r < lo ? r : lo), (r > hi ? r : hi) }')
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v d="$best_decode" -v c="$best_check" -v n="$photos" -v lo="$low" -v hi="$high" -v k="$rounds" \
  -v limit="$limit" 'BEGIN {
    r = c / d
    printf "decode only, %d photos: %.1f ms (%.3f ms a photo), best of %d\n", n, d * 1e3, d * 1e3 / n, k
    printf "photocheck-cli check:   %.1f ms (%.3f ms a photo), best of %d\n", c * 1e3, c * 1e3 / n, k
    printf "check / decode, whole processes: %.2f x (rounds %.2f to %.2f)   target <= %.1f   %s\n",
           r, lo, hi, limit, (r <= limit ? "PASS" : "MISS")
  }'
