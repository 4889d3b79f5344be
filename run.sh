#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine and builds the program it starts (no tests), then
#  - with a display: starts the desktop program with the bundled samples/ as the chosen photo folder
#    (the run button of its toolbar checks them);
#  - without one, or with --headless: runs the batch over samples/ with photocheck-cli and lists the
#    results (rows in the working folder's database, copies in 合格照片/ and 不合格照片/ beside samples/).
# Further arguments go to the program started.
set -euo pipefail
cd "$(dirname "$0")"
headless=false
if [ "${1:-}" = "--headless" ]; then
  headless=true
  shift
fi
scripts/install-deps.sh
bin="${BUILD_DIR:-build}/bin"
# Only the program started and the data package it installs from are built, no tests.
if ! $headless && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  scripts/build.sh photocheck data-package
  echo "A display is available: starting the desktop program photocheck over samples/."
  exec "$bin/photocheck" samples "$@"
fi
scripts/build.sh photocheck-cli data-package
echo "Running the headless batch over samples/ (photocheck-cli batch); $($headless && echo "--headless given" || echo "no display found")."
exec "$bin/photocheck-cli" batch samples --show-results "$@"
