#!/usr/bin/env bash
# Builds the Windows core, photocheck-cli.exe and the test programs (build.sh: the libraries first when
# their cache is missing, never Qt) and runs every test program under Wine with ctest. All programs
# share one X display (a private Xvfb when there is none), as a display per program costs seconds.
#
#   scripts/windows/test.sh              build, then ctest in build-windows/
#   scripts/windows/test.sh -R test_cli  the same, with ctest's arguments
set -euo pipefail
cd "$(dirname "$0")/../.."
here=scripts/windows
build=${BUILD_DIR:-build-windows}

"$here/build.sh"
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"
photocheck_wine_prefix
cd "$build"
photocheck_with_display ctest --output-on-failure -j"$(nproc)" "$@"
