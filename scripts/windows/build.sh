#!/usr/bin/env bash
# Builds photocheck for 64-bit Windows on Debian 12: the core, photocheck-cli.exe, the data package
# xl.oef and every test program into build-windows/ (or $BUILD_DIR), with build-windows/bin/photocheck-cli.exe;
# when the cache holds Qt for Windows (build-deps.sh --with-qt), also the window photocheck.exe and its
# tests, with the DLLs, plugins and translation they need beside them (deploy.sh). The libraries come
# from build-deps.sh, which builds them first when its cache lacks them (a second call takes seconds).
# ctest in the build folder then runs every test program under Wine (CMAKE_CROSSCOMPILING_EMULATOR is
# wine-run.sh).
#
#   scripts/windows/build.sh                 everything
#   scripts/windows/build.sh TARGET...       only these targets (photocheck-cli, test_batch, ...)
#
# The data package is the same file on every system: a build of make-package for this machine
# (in build-windows/host) makes it, as the Linux build does. Qt's moc, uic and rcc are Debian's own
# (QT_HOST_PATH), of the same version as the Qt built for Windows.
set -euo pipefail
cd "$(dirname "$0")/../.."
here=scripts/windows
build=${BUILD_DIR:-build-windows}
jobs=$(nproc)

eval "$("$here/build-deps.sh")"
window=$([ -n "${PHOTOCHECK_WINDOWS_QT:-}" ] && echo ON || echo OFF)

cmake -S . -B "$build/host" -DCMAKE_BUILD_TYPE=Release -DPHOTOCHECK_WINDOW=OFF -DPHOTOCHECK_TESTS=OFF >/dev/null
cmake --build "$build/host" -j"$jobs" --target make-package

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" -DPHOTOCHECK_WINDOW="$window" \
  -DPHOTOCHECK_HOST_MAKE_PACKAGE="$PWD/$build/host/bin/make-package" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/$here/wine-run.sh" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
if [ $# -gt 0 ]; then
  cmake --build "$build" -j"$jobs" --target "$@" data-package
else
  cmake --build "$build" -j"$jobs"
fi
# The window's programs run from the build folder as from an installed one (the tests on Qt's
# offscreen platform too).
[ "$window" = OFF ] || "$here/deploy.sh" "$build/bin" platforms/qoffscreen
