#!/bin/sh
# Frame times of every scene at 1920 x 1080 (or SIZE), one line a scene:
# frames a second (from the mean CPU frame, which waits for the GPU) and the
# ratio of the whole frame's GPU time to the particle work.
# Runs on the display in DISPLAY (an X server with the GPU's driver), or
# under Xvfb when there is none.
#   BUILD_DIR (default build)  SIZE (default 1920x1080)  FRAMES (default 120)
set -u
[ -z "${DISPLAY:-}" ] && exec xvfb-run -a -s "-screen 0 2048x1200x24" "$0" "$@"
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-build}
case $BUILD_DIR in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
SIZE=${SIZE:-1920x1080}
FRAMES=${FRAMES:-120}
if [ ! -x "$BUILD_DIR/obelisk" ]; then
  cmake -S "$ROOT" -B "$BUILD_DIR" >/dev/null && cmake --build "$BUILD_DIR" -j"$(nproc)" --target obelisk bake shaders >/dev/null || exit 1
fi
cd "$BUILD_DIR/data" || exit 1
# a moment in each scene where it shows what it is about
for scene in "0 8 start" "1 95 intro" "2 40 reallife" "3 30 city" "4 60 mantis" "5 5 end"; do
  set -- $scene
  out=$(SDL_AUDIODRIVER=dummy "$BUILD_DIR/obelisk" --windowed --mode "$SIZE" --section "$1" --at "$2" --bench \
    --frames "$FRAMES" 2>/dev/null)
  renderer=$(echo "$out" | sed -n 's/^renderer: //p')
  echo "$out" | awk -v name="$3" -v size="$SIZE" -v r="$renderer" '
    /^cpu frame/ { cpu = $3 }
    /^total\/particles/ { ratio = $2 }
    END { printf "%-9s %s  %7.1f frames/s  total/particles %s  (%s)\n", name, size, (cpu > 0 ? 1000 / cpu : 0), ratio, r }'
done
