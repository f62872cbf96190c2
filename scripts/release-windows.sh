#!/bin/sh
# Builds the Windows release archive dist/obelisk-windows-x86_64.zip: one
# folder obelisk/ that plays on 64-bit Windows with an OpenGL 4.3 driver.
#   obelisk/obelisk.exe, obelisk_content.exe   the program and the generator
#   obelisk/*.dll       every library they need but Windows' own and the GL
#                       driver's opengl32.dll (the MinGW runtime included)
#   obelisk/shaders/    the GLSL sources, laid out as the program reads them
#   obelisk/fonts/      the fonts the generator sets its titles in
#   obelisk/licences/   the licence texts of every bundled library and font
#   obelisk/reference/  one frame of each scene from Mesa's software rasterizer
#   obelisk/README.txt, VERSION
# Cross-built with Debian's MinGW-w64 in BUILD_DIR (default build-windows),
# over the libraries scripts/windows-libs.sh builds from Debian's source
# packages into its cache. The reference frames come from the Linux build in
# LINUX_BUILD (default build), which is built and baked when needed.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build-windows}
LINUX_BUILD=${LINUX_BUILD:-$ROOT/build}
case $BUILD_DIR in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
case $LINUX_BUILD in /*) ;; *) LINUX_BUILD=$ROOT/$LINUX_BUILD ;; esac
DIST=$ROOT/dist
STAGE=$DIST/stage-windows
PKG=$STAGE/obelisk
ARCHIVE=$DIST/obelisk-windows-x86_64.zip
LIMIT_MIB=30
HOST=x86_64-w64-mingw32
. "$ROOT/scripts/release-common.sh"

"$ROOT/scripts/deps.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  mingw-w64-x86-64-dev zip
"$ROOT/scripts/windows-libs.sh" >&2  # builds what the cache lacks, a line a library
PREFIX=$("$ROOT/scripts/windows-libs.sh" --print-prefix)

echo "release-windows: cross-building (Release) in $BUILD_DIR"
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DOBELISK_WINDOWS_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release >"$BUILD_DIR.configure.log" 2>&1 ||
  { tail -n 20 "$BUILD_DIR.configure.log" >&2; exit 1; }
rm -f "$BUILD_DIR.configure.log"
cmake --build "$BUILD_DIR" -j"$(nproc)" --target obelisk obelisk_content shaders platform_tests obelisk_dialogprobe \
  >"$BUILD_DIR/build.log" 2>&1 || { grep -E "error|Error" "$BUILD_DIR/build.log" | head -n 20 >&2; exit 1; }

rm -rf "$STAGE"
mkdir -p "$PKG/licences" "$PKG/fonts" "$PKG/reference"
for p in obelisk obelisk_content; do
  cp "$BUILD_DIR/$p.exe" "$PKG/"
  $HOST-strip --strip-unneeded "$PKG/$p.exe"
done

# The libraries: the import closure of both programs. A DLL is taken from
# the library prefix or the MinGW runtime; one found in neither must be one
# that Windows brings (scripts/windows-dlls.txt), or the build stops.
runtimeDir=$(dirname "$($HOST-g++-posix -print-file-name=libstdc++-6.dll)")
findDll() {
  for d in "$PREFIX/bin" "$runtimeDir" "/usr/$HOST/lib"; do
    [ -f "$d/$1" ] && { echo "$d/$1"; return 0; }
  done
  return 1
}
imports() { $HOST-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'; }
queue="$PKG/obelisk.exe $PKG/obelisk_content.exe"
while [ -n "$queue" ]; do
  set -- $queue
  file=$1
  shift
  queue="$*"
  for dll in $(imports "$file"); do
    [ -f "$PKG/$dll" ] && continue
    if path=$(findDll "$dll"); then
      cp "$path" "$PKG/$dll"
      $HOST-strip --strip-unneeded "$PKG/$dll"
      echo "$path" >>"$STAGE/bundled.txt"
      queue="$queue $PKG/$dll"
    elif ! grep -qix "$dll" "$ROOT/scripts/windows-dlls.txt"; then
      echo "release-windows: $file needs $dll, which is neither built nor part of Windows" >&2
      exit 1
    fi
  done
done

# Licences: the libraries' Debian copyright files, the MinGW runtime's, the fonts'.
cp "$PREFIX"/licences/*.txt "$PKG/licences/"
for pkg in gcc-mingw-w64-base mingw-w64-common fonts-dejavu-core; do
  [ -f "/usr/share/doc/$pkg/copyright" ] && cp "/usr/share/doc/$pkg/copyright" "$PKG/licences/$pkg.txt"
done
copyFontsAndShaders "$BUILD_DIR" "$PKG"
sed 's/$/\r/' "$ROOT/scripts/release-readme-windows.txt" >"$PKG/README.txt"
version=$(git -C "$ROOT" describe --always --dirty 2>/dev/null || echo unknown)
hash=$(cat "$PKG/obelisk.exe" "$PKG/obelisk_content.exe" | sha256sum | cut -c1-16)
echo "obelisk $version $hash" >"$PKG/VERSION"

# Reference frames: the Linux build's, drawn by Mesa's software rasterizer
# as scripts/release.sh draws them (the frames are the same on both systems).
if [ ! -x "$LINUX_BUILD/obelisk" ] || [ ! -f "$LINUX_BUILD/data/.baked" ]; then
  echo "release-windows: building and baking the Linux build in $LINUX_BUILD for the reference frames"
  "$ROOT/scripts/deps.sh"
  { cmake -S "$ROOT" -B "$LINUX_BUILD" && cmake --build "$LINUX_BUILD" -j"$(nproc)" --target obelisk bake shaders; } \
    >/dev/null
fi
renderReferences "$LINUX_BUILD/obelisk" "$LINUX_BUILD/data" "$PKG/reference" "$STAGE/reference.txt" release-windows

rm -f "$ARCHIVE"
(cd "$STAGE" && zip -qr -9 -X "$ARCHIVE" obelisk)
bytes=$(stat -c %s "$ARCHIVE")
mib=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1048576 }')
echo "release-windows: $ARCHIVE, $mib MiB ($(wc -l <"$STAGE/bundled.txt") bundled DLLs)"
if [ "$bytes" -gt $((LIMIT_MIB * 1048576)) ]; then
  echo "release-windows: the archive is larger than $LIMIT_MIB MiB" >&2
  exit 1
fi
