# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (POSIX threads, so std::thread works).
# The libraries come from scripts/windows/build-deps.sh; give their prefixes as cache variables or in the
# environment (`eval "$(scripts/windows/build-deps.sh --print-env)"` sets both):
#   PHOTOCHECK_WINDOWS_PREFIX  zlib, libjpeg-turbo, libpng, SQLCipher, libcrypto, GoogleTest, the headers
#   PHOTOCHECK_WINDOWS_QT      Qt 6 for Windows (optional: only the window needs it)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PHOTOCHECK_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PHOTOCHECK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PHOTOCHECK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PHOTOCHECK_MINGW_TRIPLET}-windres)

foreach(prefix_var PHOTOCHECK_WINDOWS_PREFIX PHOTOCHECK_WINDOWS_QT)
  if(NOT DEFINED ${prefix_var} AND DEFINED ENV{${prefix_var}})
    set(${prefix_var} "$ENV{${prefix_var}}")
  endif()
endforeach()
# try_compile() projects read this file again: hand them the same prefixes.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PHOTOCHECK_WINDOWS_PREFIX PHOTOCHECK_WINDOWS_QT)

# The cache prefixes come first: mingw-w64's own sysroot also holds a zlib (Debian's libz-mingw-w64,
# which Wine pulls in), and the build must take the one built from the same source as the Linux build's.
set(CMAKE_FIND_ROOT_PATH ${PHOTOCHECK_WINDOWS_PREFIX} ${PHOTOCHECK_WINDOWS_QT}
    /usr/${PHOTOCHECK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config (SQLCipher is found through it) reads the prefix's .pc files, never the host's.
if(PHOTOCHECK_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${PHOTOCHECK_WINDOWS_PREFIX}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
endif()
