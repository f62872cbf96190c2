#!/bin/sh
# Builds the release archive dist/obelisk-linux-x86_64.tar.xz: one folder
# obelisk/ that plays on any x86-64 Linux with an OpenGL 4.3 driver.
#   obelisk/obelisk, obelisk_content, obelisk_framediff   run path $ORIGIN/lib
#   obelisk/lib/        every shared library they need, but the C and C++
#                       runtime and the GL driver's dispatch libraries
#   obelisk/shaders/    the GLSL sources, laid out as the program reads them
#   obelisk/fonts/      the fonts the generator sets its titles in
#   obelisk/licences/   the licence texts of every bundled library and font
#   obelisk/reference/  one frame of each scene from Mesa's software rasterizer
#   obelisk/play, gpu-check, README, VERSION
# BUILD_DIR (default build-release) is the Release build it makes and uses.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build-release}
case $BUILD_DIR in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
DIST=$ROOT/dist
STAGE=$DIST/stage
PKG=$STAGE/obelisk
ARCHIVE=$DIST/obelisk-linux-x86_64.tar.xz
LIMIT_MIB=30

"$ROOT/scripts/deps.sh" patchelf xz-utils

echo "release: building (Release) in $BUILD_DIR"
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DOBELISK_TESTS=OFF -DOBELISK_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target obelisk obelisk_content obelisk_framediff bake shaders >/dev/null

rm -rf "$STAGE"
mkdir -p "$PKG/lib" "$PKG/licences" "$PKG/fonts" "$PKG/reference"
for p in obelisk obelisk_content obelisk_framediff; do cp "$BUILD_DIR/$p" "$PKG/$p"; done

# The libraries: the whole closure ldd finds, less what the viewer's system
# brings (glibc, the C++ runtime, the GL dispatch of the graphics driver).
. "$ROOT/scripts/release-libs.sh"
. "$ROOT/scripts/release-common.sh"
for p in obelisk obelisk_content obelisk_framediff; do ldd "$PKG/$p"; done |
  awk '$2 == "=>" && $3 ~ /^\// { print $1, $3 }' | sort -u |
  while read -r soname path; do
    systemLibrary "$soname" && continue
    cp -L "$path" "$PKG/lib/$soname"
    echo "$path" >>"$STAGE/bundled.txt"
  done
chmod 644 "$PKG"/lib/*
for f in "$PKG"/lib/*; do patchelf --set-rpath '$ORIGIN' "$f"; done
for p in obelisk obelisk_content obelisk_framediff; do
  strip --strip-unneeded "$PKG/$p"
  patchelf --set-rpath '$ORIGIN/lib' "$PKG/$p"
done

# Licences: the copyright file of each bundled library's package.
packageOf() {
  real=$(readlink -f "$1")
  for candidate in "$real" "/usr$real" "${real#/usr}"; do
    pkg=$(dpkg -S "$candidate" 2>/dev/null | head -n1 | cut -d: -f1) && [ -n "$pkg" ] && { echo "$pkg"; return 0; }
  done
  return 1
}
while read -r path; do
  pkg=$(packageOf "$path") || { echo "release: no package owns $path" >&2; exit 1; }
  echo "$pkg"
done <"$STAGE/bundled.txt" | sort -u >"$STAGE/packages.txt"
echo fonts-dejavu-core >>"$STAGE/packages.txt"
while read -r pkg; do
  base=${pkg%%:*}
  cp "/usr/share/doc/$base/copyright" "$PKG/licences/$base.txt"
done <"$STAGE/packages.txt"

# Fonts, shaders, launcher, check, readme.
copyFontsAndShaders "$BUILD_DIR" "$PKG"
cp "$ROOT/scripts/play-release.sh" "$PKG/play"
cp "$ROOT/scripts/gpu-check.sh" "$PKG/gpu-check"
cp "$ROOT/scripts/release-libs.sh" "$PKG/lib/system-libraries.sh"
cp "$ROOT/scripts/release-readme.txt" "$PKG/README"
chmod 755 "$PKG/play" "$PKG/gpu-check"
version=$(git -C "$ROOT" describe --always --dirty 2>/dev/null || echo unknown)
hash=$(cat "$PKG/obelisk" "$PKG/obelisk_content" | sha256sum | cut -c1-16)
echo "obelisk $version $hash" >"$PKG/VERSION"

# Every ELF file resolves every library from lib/ or from the system set.
"$ROOT/scripts/check-release-libs.sh" "$PKG"

# Reference frames from the archive's own program, over the data this build baked.
renderReferences "$PKG/obelisk" "$BUILD_DIR/data" "$PKG/reference" "$BUILD_DIR/reference.txt" release

rm -f "$ARCHIVE"
tar -C "$STAGE" --owner=0 --group=0 --numeric-owner -cf - obelisk | xz -9e -T0 >"$ARCHIVE"
bytes=$(stat -c %s "$ARCHIVE")
mib=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1048576 }')
echo "release: $ARCHIVE, $mib MiB ($(wc -l <"$STAGE/bundled.txt") bundled libraries)"
if [ "$bytes" -gt $((LIMIT_MIB * 1048576)) ]; then
  echo "release: the archive is larger than $LIMIT_MIB MiB" >&2
  exit 1
fi
