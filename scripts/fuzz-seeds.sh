#!/usr/bin/env bash
# Fills the fuzzers' corpus folders with seeds made from the build: sample photos and the same photo
# in other JPEG flavours, the data package and packages with every ZIP feature, the parameter file.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
mkdir -p "$build"/corpus/{fuzz_filecheck,fuzz_zip,fuzz_ini}
for f in samples/*.jpg; do [ -e "$f" ] && cp -n "$f" "$build/corpus/fuzz_filecheck/" || true; done
"$build/bin/make-fuzz-seeds" "$build/corpus" samples/pass-a.jpg
cp -n "$build/bin/xl.oef" "$build/corpus/fuzz_zip/xl.oef" 2>/dev/null || true
iconv -f UTF-8 -t GBK data/SetParameters.utf8.ini > "$build/corpus/fuzz_ini/SetParameters.ini"
printf '[Parameters]\n a = 0x1F \n b=$ff\n' > "$build/corpus/fuzz_ini/small.ini"
