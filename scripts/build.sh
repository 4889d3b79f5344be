#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as $BUILD_DIR): everything, or only the targets
# named as arguments (for example: scripts/build.sh photocheck-cli data-package).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} ${CMAKE_EXTRA:-} >/dev/null
if [ $# -gt 0 ]; then
  cmake --build "$build_dir" -j"$(nproc)" --target "$@"
else
  cmake --build "$build_dir" -j"$(nproc)"
fi
