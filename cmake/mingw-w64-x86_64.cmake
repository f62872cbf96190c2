# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads
# flavour of its compilers, which std::thread and friends need).
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# Libraries, headers and packages are looked for only in the prefix that
# scripts/windows-libs.sh fills (the compiler still finds MinGW's own, such as
# opengl32, by itself); host programs such as pkg-config come from the build
# machine. Pass -DOBELISK_WINDOWS_PREFIX=... or set it in
# the environment to use another prefix; by default it is the one the script
# uses: ${OBELISK_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/obelisk-windows}/prefix
#
# The MinGW runtime is linked dynamically: libstdc++-6.dll, libgcc_s_seh-1.dll
# and libwinpthread-1.dll have to be shipped next to the executable.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(OBELISK_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${OBELISK_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OBELISK_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${OBELISK_MINGW_HOST}-windres)

if(DEFINED ENV{OBELISK_WINDOWS_PREFIX} AND NOT "$ENV{OBELISK_WINDOWS_PREFIX}" STREQUAL "")
  set(_obeliskPrefix "$ENV{OBELISK_WINDOWS_PREFIX}")
elseif(DEFINED ENV{OBELISK_WINDOWS_CACHE} AND NOT "$ENV{OBELISK_WINDOWS_CACHE}" STREQUAL "")
  set(_obeliskPrefix "$ENV{OBELISK_WINDOWS_CACHE}/prefix")
elseif(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
  set(_obeliskPrefix "$ENV{XDG_CACHE_HOME}/obelisk-windows/prefix")
else()
  set(_obeliskPrefix "$ENV{HOME}/.cache/obelisk-windows/prefix")
endif()
set(OBELISK_WINDOWS_PREFIX "${_obeliskPrefix}" CACHE PATH
    "Where scripts/windows-libs.sh installed the Windows libraries")
# try_compile() projects read this file again without the cache: hand the
# prefix on so that they search the same place.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES OBELISK_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH "${OBELISK_WINDOWS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The .pc files in the prefix carry absolute paths already, so no sysroot is
# put in front of them; nothing from the build machine's own .pc files.
set(ENV{PKG_CONFIG_LIBDIR} "${OBELISK_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
