#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds photocheck and runs a batch over the bundled sample photos:
# rows in the working folder's database, copies in 合格照片/ and 不合格照片/ beside samples/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
exec "${BUILD_DIR:-build}"/bin/photocheck-cli batch samples --show-results "$@"
