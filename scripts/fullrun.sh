#!/bin/sh
# The whole production rendered offline and checked: it must end with exit
# code 0 at 455.5 s, hand over within half a second of where the music
# expects it, make no GL error, keep its memory flat after loading, and show
# no black frame after its first second but in the end scene's last second.
# Also writes docs/timeline.png, a labelled frame every ten seconds.
#   BUILD_DIR (default build)  FPS (default 2)  SIZE (default 320x200)
#   FRAMES (stop after this many frames: checks the checks on a short run)
set -u
[ -z "${DISPLAY:-}" ] && exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-build}
case $BUILD_DIR in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
FPS=${FPS:-2}
SIZE=${SIZE:-320x200}
FRAMES=${FRAMES:-}
if [ ! -x "$BUILD_DIR/obelisk" ] || [ ! -x "$BUILD_DIR/obelisk_timelinesheet" ]; then
  cmake -S "$ROOT" -B "$BUILD_DIR" >/dev/null && cmake --build "$BUILD_DIR" -j2 --target obelisk bake shaders obelisk_timelinesheet >/dev/null || exit 1
fi
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$BUILD_DIR/data" || exit 1

EXTRA=""
[ -n "$FRAMES" ] && EXTRA="--frames $FRAMES"
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} "$BUILD_DIR/obelisk" --windowed --mode "$SIZE" --no-aa --gl-debug \
  --fps "$FPS" --capture "$WORK/frames" $EXTRA 2>"$WORK/stderr" &
RUN=$!
# Resident memory of the program (not of xvfb-run) every 5 s.
: >"$WORK/rss"
while kill -0 $RUN 2>/dev/null; do
  [ -f "$WORK/frames/frame_000001.png" ] && awk '/VmRSS/ {print $2}' "/proc/$RUN/status" >>"$WORK/rss" 2>/dev/null
  sleep 5
done
wait $RUN
CODE=$?
tr '\r' '\n' <"$WORK/stderr" >"$WORK/progress"

FAIL=0
fail() { echo "fullrun: $*"; FAIL=1; }
[ $CODE -eq 0 ] || fail "exit code $CODE"
LAST=$(grep -o 'demo time [0-9.]*' "$WORK/progress" | tail -1 | awk '{print $3}')
awk -v t="${LAST:-0}" 'BEGIN { exit !(t + 1.0 / '"$FPS"' > 455.5) }' || fail "ended at demo time ${LAST:-?}, not 455.5"
HANDOVERS=""
for pair in 1:38.59 2:209.49 3:270.91 4:335.59 5:433.77; do
  part=${pair%%:*}
  want=${pair#*:}
  got=$(grep "^part $part from demo time" "$WORK/progress" | head -1 | awk '{print $5}')
  if [ -z "$got" ]; then
    fail "missing hand-over to part $part (expected at $want s)"
  elif ! awk -v a="$got" -v b="$want" 'BEGIN { d = a - b; exit !(d < 0.5 && d > -0.5) }'; then
    fail "hand-over to part $part at $got s, expected $want s"
  fi
  HANDOVERS="$HANDOVERS ${got:-?}"
done
ERRORS=$(grep -o 'GL errors: [0-9]*' "$WORK/progress" | awk '{print $3}')
[ "${ERRORS:-missing}" = "0" ] || fail "GL errors: ${ERRORS:-no count}"
# the first samples still see the drivers settle: growth counts from the fourth
GROWTH=$(awk 'NR <= 4 { first = $1 } { last = $1 } END { print (NR ? int((last - first) / 1024) : 0) }' "$WORK/rss")
[ "$GROWTH" -lt 5 ] || fail "resident memory grew by $GROWTH MB after loading"
SHEET_FILE=$ROOT/docs/timeline.png
[ -n "$FRAMES" ] && SHEET_FILE=$WORK/timeline.png  # a short run keeps the sheet of the last whole one
SHEET=$("$BUILD_DIR/obelisk_timelinesheet" "$WORK/frames" "$FPS" "$SHEET_FILE" 2>&1)
BLACK=$(echo "$SHEET" | grep '^black:' | cut -c8-)
[ -z "$BLACK" ] || fail "black frames at demo time$BLACK"
echo "fullrun: exit $CODE, end ${LAST:-?} s, hand-overs$HANDOVERS, GL errors ${ERRORS:-?}, memory +${GROWTH} MB, black frames: ${BLACK:-none}"
[ $FAIL -eq 0 ] && echo "fullrun: passed" || echo "fullrun: FAILED"
exit $FAIL
