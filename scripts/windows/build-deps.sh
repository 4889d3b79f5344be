#!/usr/bin/env bash
# Builds the libraries of the Windows build (x86_64-w64-mingw32, static) from Debian 12's own source
# packages, at the versions of the Linux build's packages installed on this machine, into a cache folder
# outside the tree, and prints where. A prefix that is already there is reused, so a second call takes
# seconds. Nothing is fetched but Debian's packages and source packages (apt).
#
#   build-deps.sh              zlib, libjpeg-turbo, libpng, libcrypto (OpenSSL), SQLCipher, GoogleTest,
#                              and the headers of nlohmann-json and CLI11
#   build-deps.sh --with-qt    the same, then Qt 6 for Windows (more than an hour on 2 cores)
#   build-deps.sh --qt-only    only Qt
#   build-deps.sh --print-env  builds nothing; prints the `export` lines of the prefixes already built
#
# Cache: ${PHOTOCHECK_WINDOWS_CACHE:-$HOME/.cache/photocheck-windows}. Each prefix is named by the source
# versions and a hash of its recipe (the functions below, the toolchain file, the compiler), so a changed
# recipe builds into a new prefix. Sources are unpacked once into src/; build logs are kept in logs/.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache=${PHOTOCHECK_WINDOWS_CACHE:-$HOME/.cache/photocheck-windows}
# Build folders record the toolchain file's path and are resumed after an interruption, so they are given
# a copy in the cache that stays put whichever checkout (or worktree, since removed) started them.
toolchain=$cache/toolchain/mingw-w64-$(sha256sum <"$here/mingw-w64.cmake" | cut -c1-10).cmake
mkdir -p "$cache/toolchain" && cp "$here/mingw-w64.cmake" "$toolchain"
triplet=x86_64-w64-mingw32
jobs=$(nproc)

log() { printf '[build-deps] %s\n' "$*" >&2; }
die() { log "error: $*"; exit 1; }
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# --- tools ---------------------------------------------------------------------------------------------

tool_packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 nsis ninja-build xvfb xauth fonts-wqy-microhei
  cmake make perl nasm tcl pkg-config dpkg-dev ccache
  # the Linux build's libraries: their installed versions are the versions built for Windows
  zlib1g-dev libjpeg62-turbo-dev libpng-dev libsqlcipher-dev libssl-dev libgtest-dev libgmock-dev
  nlohmann-json3-dev libcli11-dev
  # Qt's host tools (moc, rcc, uic) for the cross build of Qt and of the window; Qt's Chinese translation
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  # the programs' icon (make-icon.sh), the zip, and driving the window under Wine (xdotool, import)
  librsvg2-bin imagemagick zip xdotool
)

install_tools() {
  local missing=()
  local installed
  installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${tool_packages[@]}" 2>/dev/null || true)
  for p in "${tool_packages[@]}"; do
    grep -q "^$p ii" <<<"$installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    log "installing ${missing[*]}"
    with_apt_lock as_root apt-get update -qq
    with_apt_lock as_root env DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  for tool in gcc g++; do
    local name=$triplet-$tool
    if [ "$(update-alternatives --query "$name" | awk '/^Value:/ { print $2 }')" != "/usr/bin/$name-posix" ]; then
      as_root update-alternatives --set "$name" "/usr/bin/$name-posix" >/dev/null
    fi
  done
}

with_apt_lock() { mkdir -p "$cache"; ( flock 7; "$@" ) 7>"$cache/.apt.lock"; }

# --- Debian's source packages ----------------------------------------------------------------------------

# Adds the deb-src type to the Debian entries of the deb822 sources (once), so that apt-get source works.
enable_deb_src() {
  local file=/etc/apt/sources.list.d/debian.sources changed=0
  if [ -f "$file" ] && grep -q '^Types: deb$' "$file"; then
    as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$file"
    changed=1
  fi
  if [ -f /etc/apt/sources.list ] &&
     grep -Eq '^deb [^ ]*debian' /etc/apt/sources.list &&
     ! grep -Eq '^deb-src [^ ]*debian' /etc/apt/sources.list; then
    grep -E '^deb [^ ]*debian' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      as_root tee -a /etc/apt/sources.list >/dev/null
    changed=1
  fi
  if [ $changed = 1 ] || ! apt-cache showsrc zlib >/dev/null 2>&1 || [ -z "$(apt-cache showsrc zlib 2>/dev/null)" ]; then
    log "apt-get update (deb-src enabled)"
    as_root apt-get update -qq
  fi
}

# The source version of the Linux build's package PACKAGE as installed here.
installed_source_version() { dpkg-query -W -f='${source:Version}' "$1"; }

# Unpacks Debian's source package SOURCE at VERSION (with Debian's patches applied) into src/ once and
# prints its directory. When that version cannot be fetched (the security archive sometimes answers 404
# for its tarball), the other versions apt knows are tried in turn; the one taken is recorded.
fetch_source() {
  local source=$1 version=$2 dir=$cache/src/${1}_${2//:/%}
  if [ ! -f "$dir/.fetched" ]; then
    with_apt_lock enable_deb_src
    rm -rf "$dir" && mkdir -p "$dir"
    local candidates taken=""
    candidates=$(printf '%s\n' "$version"; apt-cache showsrc "$source" | awk '/^Version:/ { print $2 }')
    for v in $candidates; do
      log "apt-get source $source=$v"
      if (cd "$dir" && with_apt_lock apt-get source -qq "$source=$v" >"$dir/.apt-source.log" 2>&1); then
        taken=$v; break
      fi
      log "  not available ($(grep -m1 -E 'E:|Err' "$dir/.apt-source.log" || true))"
      find "$dir" -mindepth 1 -maxdepth 1 ! -name '.apt-source.log' -exec rm -rf {} +
    done
    [ -n "$taken" ] || die "no version of the source package $source could be fetched"
    echo "$source $taken" >"$dir/.fetched"
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n1
}

source_taken() { cut -d' ' -f2 "$cache/src/${1}_${2//:/%}/.fetched"; }

# --- the recipes ----------------------------------------------------------------------------------------
# Each builds one library from its unpacked source ($1) into $prefix, in its build folder $work.

cross_cmake() {
  cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DPHOTOCHECK_WINDOWS_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@"
}

# Debian's source lacks win32/ (its Makefile and resource), so zlib's CMake project builds the static
# library alone; it is installed under the usual name libz.a.
recipe_zlib() {
  cross_cmake -S "$1" -B "$work"
  cmake --build "$work" --target zlibstatic
  install -D -m644 "$work/libzlibstatic.a" "$prefix/lib/libz.a"
  install -D -m644 -t "$prefix/include" "$1/zlib.h" "$work/zconf.h"
  write_pc zlib "zlib compression library" "$(grep -m1 -oP 'ZLIB_VERSION "\K[^"]+' "$1/zlib.h")" "-lz"
}

# libjpeg-turbo's defaults, as Debian's libjpeg62-turbo: the libjpeg 6.2 API, the SIMD code (nasm), which
# decodes bit-exactly as the C code with the accurate integer IDCT and fancy upsampling.
recipe_libjpeg_turbo() {
  cross_cmake -S "$1" -B "$work" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DREQUIRE_SIMD=ON -DCMAKE_INSTALL_DOCDIR=share/doc/libjpeg-turbo -DCMAKE_INSTALL_MANDIR=share/man
  cmake --build "$work" --target jpeg-static
  install -D -m644 "$work/libjpeg.a" "$prefix/lib/libjpeg.a"
  install -D -m644 -t "$prefix/include" "$work/jconfig.h" "$1/jerror.h" "$1/jmorecfg.h" "$1/jpeglib.h"
  write_pc libjpeg "libjpeg-turbo, the libjpeg 6.2 API" "2.1.5" "-ljpeg"
}

recipe_libpng() {
  cross_cmake -S "$1" -B "$work" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_ROOT="$prefix" -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_EXECUTABLES=ON
  cmake --build "$work"
  cmake --install "$work"
}

# SQLCipher's crypto provider is OpenSSL's libcrypto, as in Debian's Linux build (libsqlcipher0 depends on
# libssl3): the same provider and version computes the same PBKDF2 keys and HMACs, so a database written
# by either build opens in the other. libtomcrypt would be a second implementation of the same ciphers to
# trust for that. Only libcrypto.a is built (no libssl, apps, tests or documentation).
# OPENSSLDIR is where libcrypto reads openssl.cnf at start: on Windows it must be a folder that only an
# administrator can write (a path of this machine would become C:\root\..., which any user may create).
recipe_openssl() {
  (cd "$work" && CC="ccache $triplet-gcc" AR=$triplet-ar RANLIB=$triplet-ranlib RC=$triplet-windres \
     perl "$1/Configure" mingw64 no-shared no-tests no-module no-engine no-dso \
      --prefix="$prefix" --libdir=lib --openssldir="C:/Program Files/Common Files/SSL")
  make -C "$work" -j"$jobs" build_generated
  make -C "$work" -j"$jobs" libcrypto.a
  install -D -m644 "$work/libcrypto.a" "$prefix/lib/libcrypto.a"
  mkdir -p "$prefix/include/openssl"
  cp "$1"/include/openssl/*.h "$work"/include/openssl/*.h "$prefix/include/openssl/"
  write_pc libcrypto "OpenSSL cryptography library" "$(sed -n 's/^version=//p' "$work/libcrypto.pc" 2>/dev/null ||
    echo 3.0)" "-lcrypto -lws2_32 -lgdi32 -lcrypt32 -luser32 -ladvapi32"
}

# Debian's SQLCipher for Linux: SQLite 3.15 with the codec, the feature switches of debian/rules,
# temporary files in memory (--enable-tempstore), thread-safe, the OpenSSL provider, and SQLCipher's own
# defaults for the page size (1024), the KDF (PBKDF2-HMAC-SHA1, 64000 iterations) and the HMAC, which
# debian/rules leaves alone. The amalgamation is generated on the host (lemon and tclsh see the same
# switches, as some change the grammar), then compiled for Windows with the same definitions.
recipe_sqlcipher() {
  local flags
  flags="-O2 -fno-strict-aliasing -DSQLITE_HAS_CODEC $(sqlcipher_debian_defines "$1")"
  (cd "$work" && CFLAGS="$flags" "$1/configure" --enable-threadsafe --enable-load-extension \
     --enable-tempstore --disable-tcl --disable-readline)
  make -C "$work" sqlite3.c sqlite3.h
  # shellcheck disable=SC2086
  $triplet-gcc $flags -DSQLCIPHER_CRYPTO_OPENSSL -DSQLITE_TEMP_STORE=2 -DSQLITE_THREADSAFE=1 \
    -I"$prefix/include" -c "$work/sqlite3.c" -o "$work/sqlite3.o"
  rm -f "$prefix/lib/libsqlcipher.a"
  $triplet-ar rcs "$prefix/lib/libsqlcipher.a" "$work/sqlite3.o"
  install -D -m644 -t "$prefix/include/sqlcipher" "$work/sqlite3.h" "$1/src/sqlite3ext.h"
  # Static only, so the libraries it needs go on the Libs line itself (pkg_check_modules reads that one).
  write_pc sqlcipher "SQLCipher, SQLite with encryption" "3.4.1" \
    "-lsqlcipher -lcrypto -lws2_32 -lgdi32 -lcrypt32 -luser32 -ladvapi32" "-I\${includedir}/sqlcipher"
}

# The -D options of debian/rules (SQLite's feature switches; the codec's settings are left at their defaults).
sqlcipher_debian_defines() {
  grep -oE -- '-DSQLITE_[A-Z0-9_]+(=[^ "]+)?' "$1/debian/rules" | grep -v SQLITE_HAS_CODEC | sort -u |
    tr '\n' ' '
}

recipe_googletest() {
  cross_cmake -S "$1" -B "$work" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
  cmake --build "$work"
  cmake --install "$work"
}

# Header-only: Debian's own packages on the host, with their CMake configuration (which finds the headers
# relative to itself), copied into the prefix.
recipe_headers() {
  mkdir -p "$prefix/include" "$prefix/share/cmake"
  cp -a /usr/include/nlohmann "$prefix/include/"
  cp -a /usr/include/CLI "$prefix/include/"
  cp -a /usr/share/cmake/nlohmann_json /usr/share/cmake/CLI11 "$prefix/share/cmake/"
}

write_pc() {
  local name=$1 description=$2 version=$3 libs=$4 cflags=${5:-}
  mkdir -p "$prefix/lib/pkgconfig"
  cat >"$prefix/lib/pkgconfig/$name.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: $name
Description: $description
Version: $version
Libs: -L\${libdir} $libs
Cflags: -I\${includedir} $cflags
EOF
}

# Qt 6 for Windows: shared, Core/Gui/Widgets/Test, the windows and offscreen platform plugins, the styles
# plugin, with Qt's bundled third-party libraries, and Debian's host tools (moc, rcc, uic of the same
# version). Debian removed src/3rdparty/wintab, so no tablet events; OpenGL stays on because 6.4.2's
# windows plugin does not compile without it. The compile runs under nice -n 19.
recipe_qt() {
  cmake -G Ninja -S "$1" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$qt_prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=ON -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_freetype=ON -DINPUT_openssl=no
  nice -n 19 cmake --build "$work" -j"$jobs"
  nice -n 19 cmake --install "$work"
}

# --- the prefixes ---------------------------------------------------------------------------------------

# "label=source=version" of each source package, the version being the Linux build's installed one.
lib_sources() {
  local entry
  for entry in zlib:zlib:zlib1g-dev jpeg:libjpeg-turbo:libjpeg62-turbo-dev png:libpng1.6:libpng-dev \
               openssl:openssl:libssl-dev sqlcipher:sqlcipher:libsqlcipher-dev gtest:googletest:libgtest-dev; do
    IFS=: read -r label source package <<<"$entry"
    echo "$label=$source=$(installed_source_version "$package")"
  done
}
qt_sources() { echo "qt6-base=qt6-base=$(installed_source_version qt6-base-dev)"; }

# A hash of the versions (first argument), the recipe functions named, the toolchain file (less its
# comments) and the compiler.
recipe_hash() {
  local versions=$1; shift
  { echo "$versions"; declare -f "$@"; grep -v '^#' "$toolchain"
    dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix; } |
    sha256sum | cut -c1-10
}

# A prefix name from the upstream versions and the hash, e.g. zlib1.2.13-jpeg2.1.5-...-1a2b3c4d5e.
prefix_name() {
  local hash=$1; shift
  local name="" entry version
  for entry in "$@"; do
    version=${entry##*=}; version=${version#*:}; version=${version%-*}
    name+="${entry%%=*}${version%+dfsg}-"
  done
  echo "${name//.dfsg/}${hash}"
}

lib_recipes=(cross_cmake write_pc recipe_zlib recipe_libjpeg_turbo recipe_libpng recipe_openssl
             recipe_sqlcipher sqlcipher_debian_defines recipe_googletest recipe_headers)

compute_prefixes() {
  mapfile -t libs < <(lib_sources)
  mapfile -t qts < <(qt_sources)
  local versions=("${libs[@]#*=}") qt_versions=("${qts[@]#*=}")
  prefix=$cache/$(prefix_name "$(recipe_hash "${versions[*]}" "${lib_recipes[@]}")" "${libs[@]}")
  qt_prefix=$cache/$(prefix_name "$(recipe_hash "${qt_versions[*]}" recipe_qt)" "${qts[@]}")
}

# Builds one library ("label=source=version") into the prefix ROOT unless its stamp is there.
build_one() {
  local root=$1 recipe=$2 entry=$3
  local label=${entry%%=*} source_version=${entry#*=}
  local source=${source_version%%=*} version=${source_version#*=}
  [ -f "$root/.built/$label" ] && return 0
  local src="" started taken=$version
  if [ "$recipe" != recipe_headers ]; then
    src=$(fetch_source "$source" "$version")
    taken=$(source_taken "$source" "$version")
  fi
  # A build folder left by an interrupted call (same recipe: the prefix name says so) is resumed.
  work=$cache/work/$(basename "$root")/$label
  mkdir -p "$work" "$cache/logs" "$root/.built"
  local logfile=$cache/logs/$(basename "$root")-$label.log
  [ ! -f "$logfile" ] || mv "$logfile" "$logfile.previous"
  log "building $source $taken (log: $logfile)"
  started=$(date +%s)
  # Not in an || list, which would switch off set -e within the recipe.
  local status
  set +e
  (set -ex; "$recipe" "$src") >"$logfile" 2>&1
  status=$?
  set -e
  if [ $status != 0 ]; then
    grep -v '^+' "$logfile" | tail -n 30 >&2
    die "$source failed; see $logfile"
  fi
  echo "$source $taken $(( $(date +%s) - started ))s" | tee "$root/.built/$label" >&2
  rm -rf "$work"
}

build_libs() {
  exec 9>"$prefix.lock"; flock 9
  local entry
  for entry in "${libs[@]}"; do
    case ${entry%%=*} in
      zlib) build_one "$prefix" recipe_zlib "$entry" ;;
      jpeg) build_one "$prefix" recipe_libjpeg_turbo "$entry" ;;
      png) build_one "$prefix" recipe_libpng "$entry" ;;
      openssl) build_one "$prefix" recipe_openssl "$entry" ;;
      sqlcipher) build_one "$prefix" recipe_sqlcipher "$entry" ;;
      gtest) build_one "$prefix" recipe_googletest "$entry" ;;
    esac
  done
  build_one "$prefix" recipe_headers "headers=nlohmann-json3 and cli11=$(installed_source_version \
    nlohmann-json3-dev) and $(installed_source_version libcli11-dev)"
  exec 9>&-
}

build_qt() {
  exec 8>"$qt_prefix.lock"; flock 8
  build_one "$qt_prefix" recipe_qt "${qts[0]}"
  exec 8>&-
}

print_env() {
  echo "export PHOTOCHECK_WINDOWS_PREFIX=$prefix"
  [ ! -f "$qt_prefix/.built/qt6-base" ] || echo "export PHOTOCHECK_WINDOWS_QT=$qt_prefix"
}

main() {
  local want_libs=1 want_qt=0
  case ${1:-} in
    "") ;;
    --with-qt) want_qt=1 ;;
    --qt-only) want_libs=0; want_qt=1 ;;
    --print-env)
      compute_prefixes
      [ -f "$prefix/.built/headers" ] || die "the libraries are not built yet: run $0"
      print_env; return ;;
    *) die "unknown argument $1 (see the head of $0)" ;;
  esac
  install_tools
  compute_prefixes
  export CCACHE_DIR=$cache/ccache CCACHE_BASEDIR=$cache CCACHE_MAXSIZE=5G
  [ $want_libs = 0 ] || build_libs
  [ $want_qt = 0 ] || build_qt
  log "libraries: $prefix"
  [ $want_qt = 0 ] || log "Qt:        $qt_prefix"
  print_env
}

main "$@"
