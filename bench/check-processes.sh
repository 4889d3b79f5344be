#!/usr/bin/env bash
# Whole processes: `photocheck-cli check` over many passing photos against a program that only decodes
# the same files with the same libjpeg settings (photocheck-bench-decode), taken in turn for several
# rounds. Each process is given the passing photos REPEAT times over, so that its start-up (the
# command line loads the database and crypto libraries the decoder does not) weighs as it does in a
# run over a large folder. The fastest round of each counts, in processor time (user and system, of
# the process and its threads), which other work on the machine disturbs far less than the wall clock.
# The target: the check at most 1.10 x the decode.
#
#   bench/check-processes.sh                 # 480 passing photos, twice over, 7 rounds
#   PHOTOS=240 REPEAT=4 ROUNDS=9 bench/check-processes.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build-bench}
photos=${PHOTOS:-480}
repeat=${REPEAT:-2}
rounds=${ROUNDS:-7}
limit=1.10
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
mapfile -t passing < <("$cli" check "${thresholds[@]}" "${painted[@]}" |
  grep '"verdict":"合格"' | sed 's/^{"file":"\([^"]*\)".*/\1/' | head -n "$photos")
if [ "${#passing[@]}" -lt "$photos" ]; then
  echo "only ${#passing[@]} passing photos among ${#painted[@]}" >&2
  exit 2
fi
files=()
for ((k = 0; k < repeat; k++)); do files+=("${passing[@]}"); done
count=${#files[@]}

# The processor time of this shell's children so far, in seconds, into CPU (bash's `times`: user and
# system to the millisecond; run in this shell, not in a subshell, which has no children of its own).
children_seconds() {
  times >"$scratch/times"
  CPU=$(tail -n 1 "$scratch/times" | awk '{
    n = 0
    for (i = 1; i <= 2; i++) { split($i, p, "m"); n += p[1] * 60 + substr(p[2], 1, length(p[2]) - 1) }
    printf "%.3f", n }')
}

# measure COMMAND...: appends the wall and processor time of one run to ROUND, output discarded
measure() {
  local start=$EPOCHREALTIME before
  children_seconds
  before=$CPU
  "$@" >/dev/null
  children_seconds
  ROUND+=" $(awk -v a="$start" -v b="$EPOCHREALTIME" -v c="$before" -v d="$CPU" 'BEGIN {printf "%.4f %.4f", b - a, d - c}')"
}

results=()
for ((r = 1; r <= rounds; r++)); do
  ROUND=""
  measure "$decode" "${files[@]}"
  measure "$cli" check "${thresholds[@]}" "${files[@]}"
  results+=("$ROUND")
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%s\n' "${results[@]}" | awk -v n="$count" -v distinct="$photos" -v k="$rounds" -v limit="$limit" '
  function min(a, b) { return NR == 1 || b < a ? b : a }
  { dw = min(dw, $1); dc = min(dc, $2); cw = min(cw, $3); cc = min(cc, $4)
    r = $4 / $2; lo = NR == 1 || r < lo ? r : lo; hi = NR == 1 || r > hi ? r : hi }
  END {
    printf "decode only, %d photos (%d distinct): %.1f ms processor time (%.3f ms a photo), %.1f ms real, best of %d\n",
           n, distinct, dc * 1e3, dc * 1e3 / n, dw * 1e3, k
    printf "photocheck-cli check:   %.1f ms processor time (%.3f ms a photo), %.1f ms real, best of %d\n",
           cc * 1e3, cc * 1e3 / n, cw * 1e3, k
    printf "check / decode, real time of whole processes: %.2f x\n", cw / dw
    printf "check / decode, processor time of whole processes: %.2f x (rounds %.2f to %.2f)   target <= %.2f   %s\n",
           cc / dc, lo, hi, limit, (cc / dc <= limit ? "PASS" : "MISS")
  }'
