#!/bin/sh
# gpu-check -- how Obelisk runs on this machine's graphics driver: the
# program's own check (--gpu-check), headless, no display server or sound
# card needed. It prints the GL renderer (and says so when it is a software
# rasterizer), one line of times for every scene, each scene's frame against
# the software rasterizer's reference frame, and one summary line to paste
# into a report; it exits 1 on a GL error, a scene that does not draw or a
# frame more than a quarter off its reference. Other options pass through.
#   SIZE (default 1920x1080)  FRAMES (default 600)  give smaller ones on slow machines
# In the release folder it uses the folder's program and reference frames; in
# the source tree BUILD_DIR (default build) and REFERENCE_DIR (default the
# reference frames scripts/release.sh left in dist/stage/obelisk/reference).
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
SIZE=${SIZE:-1920x1080}
FRAMES=${FRAMES:-600}

if [ -x "$HERE/play" ] && [ -x "$HERE/obelisk" ]; then
  DATA=$("$HERE/play" --data-folder) || { echo "gpu-check: baking the data failed" >&2; exit 1; }
  cd "$DATA" && exec "$HERE/obelisk" --headless --gpu-check --mode "$SIZE" --frames "$FRAMES" "$@"
fi
ROOT=$(cd "$HERE/.." && pwd)
BUILD_DIR=${BUILD_DIR:-build}
case $BUILD_DIR in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
if [ ! -x "$BUILD_DIR/obelisk" ] || [ ! -f "$BUILD_DIR/data/.baked" ]; then
  echo "gpu-check: building and baking in $BUILD_DIR" >&2
  { cmake -S "$ROOT" -B "$BUILD_DIR" && cmake --build "$BUILD_DIR" -j"$(nproc)" --target obelisk bake shaders; } \
    >/dev/null || exit 1
fi
REF=${REFERENCE_DIR:-$ROOT/dist/stage/obelisk/reference}
set -- --headless --gpu-check --mode "$SIZE" --frames "$FRAMES" "$@"
[ -d "$REF" ] && set -- "$@" --reference "$REF"
cd "$BUILD_DIR/data" && exec "$BUILD_DIR/obelisk" "$@"
