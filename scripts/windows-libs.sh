#!/bin/bash
# Builds the libraries the Windows version links against -- SDL2, GLEW,
# libjpeg-turbo, libpng, zlib, libmpg123, FreeType and LAME -- as DLLs with
# import libraries, cross-compiled with Debian's MinGW-w64 (POSIX threads).
#
# Sources are Debian's own source packages, at the versions of the -dev
# packages the Linux build uses here, unpacked with Debian's patches applied.
# Everything lives in a cache outside the tree:
#
#   ${OBELISK_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/obelisk-windows}
#     prefix/    include, lib (import libraries, lib/pkgconfig, lib/cmake),
#                bin (the DLLs), licences/<source package>.txt, stamps/
#     src/       downloads and build trees; a library's is removed once built
#     logs/      one log per library build
#
# A library whose stamp names the installed -dev package's version is left
# alone, so a second run only reports what it has. The last line on stdout is
# the prefix, for use as
#
#   PREFIX=$(scripts/windows-libs.sh | tail -n1)
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# `scripts/windows-libs.sh --print-prefix` prints that path and does nothing else.
# Missing Debian packages are installed with apt-get (through sudo when not
# root); a deb-src entry is added when the package lists have none.
set -euo pipefail

CACHE=${OBELISK_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/obelisk-windows}
PREFIX=$CACHE/prefix
case ${1:-} in
  "") ;;
  --print-prefix) echo "$PREFIX"; exit 0 ;;
  *) echo "usage: $0 [--print-prefix]" >&2; exit 2 ;;
esac

ROOT=$(cd "$(dirname "$0")/.." && pwd)
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
HOST=x86_64-w64-mingw32
SRCDIR=$CACHE/src
LOGDIR=$CACHE/logs
STAMPS=$PREFIX/stamps
JOBS=$(nproc)
SOURCES_FILE=/etc/apt/sources.list.d/obelisk-src.sources

# name  -dev package (gives the version)  build function; in build order
# (libpng and FreeType link against the zlib built before them).
LIBRARIES="
zlib          zlib1g-dev           buildZlib
libpng        libpng-dev           buildPng
libjpeg-turbo libjpeg62-turbo-dev  buildJpeg
FreeType      libfreetype-dev      buildFreetype
SDL2          libsdl2-dev          buildSdl2
GLEW          libglew-dev          buildGlew
mpg123        libmpg123-dev        buildMpg123
LAME          libmp3lame-dev       buildLame
"
TOOLS="gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev dpkg-dev cmake make pkg-config nasm bzip2 xz-utils"

say() { echo "windows-libs: $*"; }
die() { echo "windows-libs: error: $*" >&2; exit 1; }

# configure scripts and CMake see only the .pc files of what is built here.
export PKG_CONFIG_LIBDIR=$PREFIX/lib/pkgconfig PKG_CONFIG_PATH="" PKG_CONFIG_SYSROOT_DIR=""

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

# --- Debian packages ----------------------------------------------------------

installMissing() {
  local p missing=""
  for p in $TOOLS $(echo "$LIBRARIES" | awk 'NF { print $2 }'); do
    [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  say "installing$missing"
  $SUDO apt-get update >&2 || die "apt-get update failed"
  # shellcheck disable=SC2086
  $SUDO apt-get install -y --no-install-recommends $missing >&2 || die "could not install$missing"
}

APT_UPDATED=""
aptUpdateOnce() {
  [ -n "$APT_UPDATED" ] && return 0
  APT_UPDATED=1
  $SUDO apt-get update >&2 || die "apt-get update failed"
}

# Versions of source package $1 that the package lists offer.
sourceVersions() {
  apt-cache showsrc --only-source "$1" 2>/dev/null |
    awk -v src="$1" '/^Package: / { mine = ($2 == src) } mine && /^Version: / { print $2 }'
}

# deb-src entries mirroring the binary ones in debian.sources or sources.list.
writeSourcesEntry() {
  local entries=""
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    entries=$(awk 'BEGIN { RS = ""; FS = "\n" }
      {
        deb = 0; off = 0; keep = ""; on = 0
        for (i = 1; i <= NF; i++) {
          line = $i
          if (line ~ /^#/) continue
          if (line ~ /^[ \t]/) { if (on) keep = keep line "\n"; continue }
          on = 0
          if (line ~ /^Types:/ && line ~ /[: ]deb( |$)/) deb = 1
          if (line ~ /^Enabled:[ \t]*no/) off = 1
          if (line ~ /^(URIs|Suites|Components|Signed-By):/) { keep = keep line "\n"; on = 1 }
        }
        if (deb && !off) printf "Types: deb-src\n%s\n", keep
      }' /etc/apt/sources.list.d/debian.sources)
  fi
  if [ -z "$entries" ] && [ -f /etc/apt/sources.list ]; then
    entries=$(awk '$1 == "deb" {
        signed = ""; i = 2
        if ($2 ~ /^\[/) {
          while (i <= NF) {
            opt = $i; gsub(/[][]/, "", opt)
            if (opt ~ /^signed-by=/) { sub(/^signed-by=/, "", opt); signed = opt }
            if ($i ~ /\]$/) { i++; break }
            i++
          }
        }
        uri = $i; suite = $(i + 1); comps = ""
        for (j = i + 2; j <= NF && $j !~ /^#/; j++) comps = comps (comps == "" ? "" : " ") $j
        printf "Types: deb-src\nURIs: %s\nSuites: %s\n", uri, suite
        if (comps != "") printf "Components: %s\n", comps
        if (signed != "") printf "Signed-By: %s\n", signed
        printf "\n"
      }' /etc/apt/sources.list)
  fi
  [ -n "$entries" ] || die "no Debian entries in /etc/apt/sources.list.d/debian.sources or /etc/apt/sources.list to derive deb-src from"
  say "adding deb-src entries in $SOURCES_FILE"
  printf '# Added by obelisk scripts/windows-libs.sh: source packages for the Windows libraries.\n%s\n' "$entries" |
    $SUDO tee "$SOURCES_FILE" >/dev/null
  APT_UPDATED=""
  aptUpdateOnce
}

SOURCES_CHECKED=""
# Sets RESOLVED to the source version to build for source package $1, wanted at $2:
# that version when the archive still has it, otherwise the newest revision
# of the same upstream release (the archive keeps only the latest update of
# a stable release; the installed -dev package may be one behind).
resolveVersion() {
  local src=$1 wanted=$2 avail best="" v
  avail=$(sourceVersions "$src")
  if [ -z "$avail" ] && [ -z "$SOURCES_CHECKED" ]; then
    SOURCES_CHECKED=1
    writeSourcesEntry
    avail=$(sourceVersions "$src")
  fi
  if ! grep -qxF "$wanted" <<<"$avail" && [ -z "$APT_UPDATED" ]; then
    aptUpdateOnce
    avail=$(sourceVersions "$src")
  fi
  [ -n "$avail" ] || die "apt knows no source package $src (is there a deb-src entry?)"
  RESOLVED=$wanted
  grep -qxF "$wanted" <<<"$avail" && return 0
  for v in $avail; do
    [ "${v%-*}" = "${wanted%-*}" ] || continue
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  [ -n "$best" ] || die "$src $wanted is not in the archive, nor any revision of ${wanted%-*} (offered: $(tr "\n" " " <<<"$avail"))"
  RESOLVED=$best
}

# Downloads source package $1 at version $2 into the current directory and
# unpacks it, Debian patches applied, into ./tree.
fetchSource() {
  local src=$1 ver=$2 dsc sum name missing=""
  dsc=${src}_${ver#*:}.dsc
  # apt checks every file against the signed package lists as it comes in. A
  # mirror may lack the upstream tarball's detached signature (.asc); that
  # makes apt-get fail although all that is needed has arrived.
  apt-get -q source --download-only "$src=$ver" || true
  [ -f "$dsc" ] || die "could not download $src $ver"
  while read -r sum _ name; do
    if [ ! -f "$name" ]; then
      case $name in
        *.asc) missing="$missing $name" ;;
        *) die "$src $ver: $name did not download" ;;
      esac
      continue
    fi
    echo "$sum  $name" | sha256sum -c --quiet - || die "$src $ver: checksum of $name does not match $dsc"
  done < <(awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 } on && NF == 3' "$dsc")
  if [ -n "$missing" ]; then
    echo "unpacking without the missing signature files:$missing"
    # An unsigned copy of the .dsc that does not list them (dpkg-source wants
    # every listed file; the signature could not be checked without the
    # maintainer's key anyway).
    awk -v drop="$missing" '
      BEGIN { n = split(drop, d, " "); for (i = 1; i <= n; i++) skip[d[i]] = 1 }
      /^-----BEGIN PGP SIGNED MESSAGE-----/ { head = 1; next }
      head { if ($0 == "") head = 0; next }
      /^-----BEGIN PGP SIGNATURE-----/ { exit }
      /^ / && ($NF in skip) { next }
      { print }' "$dsc" >unsigned.dsc
    dsc=unsigned.dsc
  fi
  dpkg-source -x "$dsc" tree
}

# --- the builds ---------------------------------------------------------------
# Each runs in its source tree with the variables VERSION (upstream version)
# and BUILD (an empty build directory).

CMAKE_COMMON=(
  -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DOBELISK_WINDOWS_PREFIX="$PREFIX"
  -DCMAKE_INSTALL_PREFIX="$PREFIX"
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG"
  -DBUILD_SHARED_LIBS=ON
)
AUTOTOOLS_COMMON=(
  --host="$HOST" --prefix="$PREFIX" --enable-shared --disable-static
  CC="$HOST-gcc-posix" CFLAGS=-O2
)

buildZlib() {
  # Debian's repacked tarball drops win32/, whose zlib1.rc the CMake build
  # compiles into the DLL on MinGW: give it a plain version resource instead.
  if [ ! -f win32/zlib1.rc ]; then
    mkdir -p win32
    local release commas
    release=$(echo "$VERSION" | grep -o '^[0-9][0-9]*\(\.[0-9][0-9]*\)*')
    commas=$(echo "$release" | tr . ,),0
    cat >win32/zlib1.rc <<EOF
#include <winver.h>
1 VERSIONINFO
  FILEVERSION $commas
  PRODUCTVERSION $commas
  FILEOS VOS__WINDOWS32
  FILETYPE VFT_DLL
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904E4"
    BEGIN
      VALUE "FileDescription", "zlib data compression library"
      VALUE "FileVersion", "$release"
      VALUE "InternalName", "zlib1.dll"
      VALUE "ProductName", "zlib"
      VALUE "ProductVersion", "$release"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x0409, 1252
  END
END
EOF
  fi
  cmake -S . -B "$BUILD" "${CMAKE_COMMON[@]}" -DINSTALL_PKGCONFIG_DIR="$PREFIX/lib/pkgconfig"
  # The example programs are not wanted; the install rules want the static
  # library too, which is removed again afterwards.
  cmake --build "$BUILD" -j "$JOBS" --target zlib zlibstatic
  cmake --install "$BUILD" --strip
  rm -f "$PREFIX/lib/libzlibstatic.a"
}

buildPng() {
  cmake -S . -B "$BUILD" "${CMAKE_COMMON[@]}" \
    -DPNG_SHARED=ON -DPNG_STATIC=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
  cmake --build "$BUILD" -j "$JOBS"
  cmake --install "$BUILD" --strip
}

buildJpeg() {
  # The SIMD code is assembled with nasm. rdjpgcom, cjpeg and the other
  # programs have no switch; they are built and then dropped from bin/.
  cmake -S . -B "$BUILD" "${CMAKE_COMMON[@]}" \
    -DENABLE_SHARED=ON -DENABLE_STATIC=OFF -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm
  cmake --build "$BUILD" -j "$JOBS"
  cmake --install "$BUILD" --strip
  local p
  for p in cjpeg djpeg jpegtran rdjpgcom wrjpgcom tjbench; do rm -f "$PREFIX/bin/$p.exe"; done
}

buildFreetype() {
  # zlib for compressed fonts; no PNG (colour emoji), HarfBuzz, Brotli or bzip2.
  cmake -S . -B "$BUILD" "${CMAKE_COMMON[@]}" \
    -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON
  cmake --build "$BUILD" -j "$JOBS"
  cmake --install "$BUILD" --strip
}

buildSdl2() {
  # Video with OpenGL, events, audio, timers and threads are what the demo
  # uses. It reads no joysticks or game controllers (so no haptics, sensors
  # or HIDAPI drivers either) and draws with OpenGL itself, not through
  # SDL_Renderer: those subsystems are left out.
  cmake -S . -B "$BUILD" "${CMAKE_COMMON[@]}" \
    -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_TESTS=OFF \
    -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_HIDAPI=OFF \
    -DSDL_RENDER=OFF
  cmake --build "$BUILD" -j "$JOBS"
  cmake --install "$BUILD" --strip
}

buildGlew() {
  # The CMake build under build/cmake makes glew32.dll with its import
  # library; only that target is built (not the static one or the utilities).
  cmake -S build/cmake -B "$BUILD" "${CMAKE_COMMON[@]}" -DBUILD_UTILS=OFF
  cmake --build "$BUILD" -j "$JOBS" --target glew
  cmake --install "$BUILD" --strip
}

buildMpg123() {
  # Only libmpg123 is wanted: the lists of what gets built and installed are
  # narrowed to it on make's command line (libout123 with its output
  # modules, libsyn123 and the programs are skipped).
  ./configure "${AUTOTOOLS_COMMON[@]}" --with-cpu=x86-64 --disable-modules \
    --with-audio=dummy --enable-network=no
  local only=(lib_LTLIBRARIES=src/libmpg123/libmpg123.la bin_PROGRAMS= pkglib_LTLIBRARIES=
    noinst_LTLIBRARIES= nodist_include_HEADERS=src/libmpg123/mpg123.h
    include_HEADERS=src/libmpg123/fmt123.h pkgconfig_DATA=libmpg123.pc man_MANS=)
  make -j "$JOBS" "${only[@]}"
  make install-strip "${only[@]}"
}

buildLame() {
  # Debian's msse.patch and pkg-config.patch change only Makefile.am and
  # configure.in; the shipped configure is used as it is (Debian regenerates
  # it), so they have no effect here: -msse is implied on x86-64, and lame.pc
  # is not needed (mp3lame is found as a plain library).
  ./configure "${AUTOTOOLS_COMMON[@]}" --disable-frontend --disable-decoder \
    --disable-gtktest
  # The DLL exports what include/libmp3lame.sym lists, and the linker refuses
  # names that are not there: lame_init_old is static in this release, and
  # the decoder's hip_* and lame_decode* are left out by --disable-decoder.
  sed -i '/^lame_init_old$/d; /^hip_/d; /^lame_decode/d' include/libmp3lame.sym
  make -j "$JOBS"
  make install-strip
}

# --- main ---------------------------------------------------------------------

installMissing
mkdir -p "$PREFIX" "$SRCDIR" "$LOGDIR" "$STAMPS" "$PREFIX/licences"

CURRENT="" CURRENT_LOG=""
onExit() {
  local rc=$?
  if [ "$rc" -ne 0 ] && [ -n "$CURRENT" ]; then
    echo "windows-libs: error: building $CURRENT failed (exit $rc); the last lines of $CURRENT_LOG:" >&2
    tail -n 25 "$CURRENT_LOG" >&2 || true
    echo "windows-libs: the sources are left in $SRCDIR/$CURRENT" >&2
  fi
}
trap onExit EXIT

START=$(date +%s)
built=0
while read -r name devPackage builder <&3; do
  [ -n "$name" ] || continue
  read -r src wanted < <(dpkg-query -W -f='${source:Package} ${source:Version}\n' "$devPackage") ||
    die "cannot tell the version of $devPackage"
  stamp=$STAMPS/$name
  if [ -f "$stamp" ] && [ "$(cut -d' ' -f1 "$stamp")" = "$wanted" ]; then
    read -r _ have <"$stamp"
    if [ "$have" = "$wanted" ]; then
      say "$name $have cached"
    else
      say "$name $have cached (for the installed $wanted)"
    fi
    continue
  fi

  t0=$(date +%s)
  rm -f "$stamp"
  resolveVersion "$src" "$wanted"
  version=$RESOLVED
  [ "$version" = "$wanted" ] ||
    say "warning: $src $wanted is no longer in the archive; building $version, the newest revision of ${wanted%-*}" >&2
  work=$SRCDIR/$name
  CURRENT=$name CURRENT_LOG=$LOGDIR/$name.log
  rm -rf "$work"
  mkdir -p "$work"
  say "$name $version: downloading and building (log: $CURRENT_LOG)"
  (
    cd "$work"
    fetchSource "$src" "$version"
    cd tree
    upstream=${version#*:}
    VERSION=${upstream%-*} BUILD=$work/build
    mkdir -p "$BUILD"
    "$builder"
    cp debian/copyright "$PREFIX/licences/$src.txt"
  ) </dev/null >"$CURRENT_LOG" 2>&1
  # Manuals and libtool archives are of no use to the cross build.
  rm -rf "$PREFIX/share/man" "$PREFIX/share/doc" "$PREFIX"/lib/*.la "$work"
  echo "$wanted $version" >"$stamp"
  CURRENT=""
  built=$((built + 1))
  say "$name $version built in $(($(date +%s) - t0)) s"
done 3<<<"$LIBRARIES"

[ "$built" -eq 0 ] || say "total: $built built in $(($(date +%s) - START)) s"
echo "$PREFIX"
