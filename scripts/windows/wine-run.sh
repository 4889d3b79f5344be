#!/usr/bin/env bash
# Runs a Windows program under Wine with the photocheck test prefix and a display (Xvfb when there is
# none): usable as CMAKE_CROSSCOMPILING_EMULATOR, so that ctest runs the test executables under Wine.
# Starting a private Xvfb per program costs seconds: for many programs, start one Xvfb and set DISPLAY.
set -euo pipefail
# shellcheck source=wine-env.sh
source "$(dirname "$0")/wine-env.sh"
photocheck_wine "$@"
