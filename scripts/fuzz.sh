#!/bin/sh
# Builds the loader fuzzers with clang's fuzzer runtime, ASan and UBSan, and
# runs each for a bounded time from the committed seeds: OBJ mesh, BVH motion
# with the figure posed from it, shake track, text route, stroke frame and
# JPEG. Crashing inputs are left in fuzz-out/ as <target>-crash-*; the run
# then fails.
#   FUZZ_SECONDS  time per target (default 30)
#   FUZZ_TARGETS  the targets to run (default all)
#   FUZZ_OUT      build and corpus folder (default fuzz-out)
set -e
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
OUT="${FUZZ_OUT:-$ROOT/fuzz-out}"
SECONDS_EACH="${FUZZ_SECONDS:-30}"
TARGETS="${FUZZ_TARGETS:-objmesh bvh shaketrack textroute strokeframe jpeg}"
CXX="${FUZZ_CXX:-clang++}"
FLAGS="-std=c++17 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined"
mkdir -p "$OUT/obj"

# The loaders once, without the fuzzer's main; the drawing sources come
# along because the part and figure classes refer to them, but nothing here
# calls OpenGL.
OBJS=""
for src in "$ROOT"/geom/*.cpp "$ROOT"/scenes/route*.cpp "$ROOT/platform/faults.cpp" "$ROOT/platform/linux/files_posix.cpp" "$ROOT/gfx/jpegdecode.cpp"; do
  obj="$OUT/obj/$(basename "$src" .cpp).o"
  "$CXX" $FLAGS -fsanitize=fuzzer-no-link -I"$ROOT" -c "$src" -o "$obj"
  OBJS="$OBJS $obj"
done

status=0
for target in $TARGETS; do
  "$CXX" $FLAGS -I"$ROOT" "$ROOT/fuzz/${target}_fuzz.cpp" $OBJS -lGLEW -lGL -ljpeg -o "$OUT/${target}_fuzz"
  mkdir -p "$OUT/corpus_$target"
  DICT=""
  [ -f "$ROOT/fuzz/$target.dict" ] && DICT="-dict=$ROOT/fuzz/$target.dict"
  echo "fuzzing $target for ${SECONDS_EACH}s"
  # Standard output carries the loaders' log lines; -close_fd_mask=1 drops them.
  if ! "$OUT/${target}_fuzz" -max_total_time="$SECONDS_EACH" -close_fd_mask=1 -max_len=4096 \
      -timeout=10 -rss_limit_mb=2048 $DICT -artifact_prefix="$OUT/${target}-" \
      -print_final_stats=1 "$OUT/corpus_$target" "$ROOT/fuzz/seeds/$target" 2>"$OUT/$target.log"; then
    tail -n 60 "$OUT/$target.log"
    echo "fuzzer $target failed; inputs in $OUT/${target}-*"
    status=1
  else
    grep -E "stat::number_of_executed_units|Done" "$OUT/$target.log" | tail -n 2
  fi
done
exit $status
