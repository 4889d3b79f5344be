#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds photocheck and checks the bundled sample photos.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
exec build/bin/photocheck-cli check samples/*.jpg "$@"
