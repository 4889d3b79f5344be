#!/usr/bin/env bash
# Fills the fuzzers' corpus folders with seeds made from the build: sample photos and the same photo
# in other JPEG flavours, the data package and packages with every ZIP feature, the parameter file.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
mkdir -p "$build"/corpus/{fuzz_filecheck,fuzz_zip,fuzz_ini,fuzz_html,fuzz_base64,fuzz_csv,fuzz_like,fuzz_results_query}
for f in samples/*.jpg; do [ -e "$f" ] && cp -n "$f" "$build/corpus/fuzz_filecheck/" || true; done
"$build/bin/make-fuzz-seeds" "$build/corpus" samples/pass-a.jpg
cp -n "$build/bin/xl.oef" "$build/corpus/fuzz_zip/xl.oef" 2>/dev/null || true
iconv -f UTF-8 -t GBK data/SetParameters.utf8.ini > "$build/corpus/fuzz_ini/SetParameters.ini"
printf '[Parameters]\n a = 0x1F \n b=$ff\n' > "$build/corpus/fuzz_ini/small.ini"
printf '<img src="x" onerror=\x27a&b\x27>\xff\xe7\x85\xa7' > "$build/corpus/fuzz_html/name"
printf '=HYPERLINK("x";"y"),\r\n' > "$build/corpus/fuzz_csv/formula"
printf '%%a_a%%b!%%\xe7\x85\xa7aab' > "$build/corpus/fuzz_like/pattern"
printf "20\n80\n\n\n\n\n\n\n'\n%%_'\n" > "$build/corpus/fuzz_results_query/filter"
