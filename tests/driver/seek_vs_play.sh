#!/bin/sh
# seek_vs_play.sh BUILD_DIR [FPS] [MOMENTS]: a frame one second after a seek
# must look like the frame reached by playing. For every demo time T of
# MOMENTS, one run seeks to T - 1 and plays one second; another seeks to
# T - 10 and plays ten; their last frames (both at T) are held against each
# other with obelisk_framediff (mean difference, share of pixels more than
# 10 % apart after a 2-pixel blur). The played run's two frames before T are
# compared too, as the yardstick of how much the picture moves in one frame.
# Fails when a frame is dark, a run fails, or the seek's frame differs in
# more than LIMIT of its pixels (default 0.25).
BUILD_DIR=$(cd "$1" && pwd) || exit 2
FPS=${2:-5}
MOMENTS=${3:-"100 240 300 370 445"}
LIMIT=${LIMIT:-0.25}
SIZE=${SIZE:-160x100}
[ -x "$BUILD_DIR/obelisk" ] && [ -f "$BUILD_DIR/data/.baked" ] || { echo "no baked build in $BUILD_DIR"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../support/datalinks.sh"
datalinks "$BUILD_DIR" "$work/data" && cd "$work/data" || exit 2
exe=$BUILD_DIR/obelisk diff=$BUILD_DIR/obelisk_framediff
frame() { printf "%s/frame_%06d.png" "$1" "$2"; }
failed=0
for T in $MOMENTS; do
  for run in a b; do
    back=1; [ $run = b ] && back=10
    from=$(awk "BEGIN { print $T - $back }")
    if ! "$exe" --headless --mode "$SIZE" --no-aa --author --seek "$from" --fps "$FPS" \
        --frames $((back * FPS + 1)) --capture "$work/$T$run" >"$work/$T$run.log" 2>&1; then
      echo "T=$T: the run from $from failed"; cat "$work/$T$run.log"; failed=1; continue 2
    fi
  done
  set -- $("$diff" "$(frame "$work/${T}a" "$FPS")" "$(frame "$work/${T}b" $((10 * FPS)))")
  seekMean=$2 seekDiffering=$4 dark="$6$7"
  set -- $("$diff" "$(frame "$work/${T}b" $((10 * FPS - 1)))" "$(frame "$work/${T}b" $((10 * FPS)))")
  echo "T=$T: seek against play: mean $seekMean differing $seekDiffering;" \
       "one frame of play: mean $2 differing $4"
  if [ "$dark" != "00" ]; then echo "T=$T: a dark frame"; failed=1; fi
  if awk "BEGIN { exit !($seekDiffering > $LIMIT) }"; then echo "T=$T: more than $LIMIT apart"; failed=1; fi
  rm -rf "$work/${T}a" "$work/${T}b"
done
[ $failed -eq 0 ] && echo "seek_vs_play: passed" || echo "seek_vs_play: FAILED"
exit $failed
