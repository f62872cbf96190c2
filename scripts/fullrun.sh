#!/bin/sh
# The whole production rendered offline and checked: it must end with exit
# code 0 at 455.5 s, hand over within half a second of where the music
# expects it, make no GL error, keep its memory flat in the last quarter of
# every section, and show no black frame after its first second but in the end scene's
# last second.
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
  if [ -f "$WORK/frames/frame_000001.png" ]; then
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$RUN/status" 2>/dev/null)
    at=$(tr '\r' '\n' <"$WORK/stderr" | grep -o 'demo time [0-9.]*' | tail -1 | awk '{print $3}')
    [ -n "$rss" ] && echo "$rss ${at:-0}" >>"$WORK/rss"
  fi
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
# A section's clock starts on the frame after the hand-over, so at a coarse
# frame rate every hand-over comes a little later than the last: the run is
# held against the sections' own timeline at its rate, and that timeline
# against the times the music expects.
"$BUILD_DIR/obelisk_timelinesheet" --handovers "$FPS" >"$WORK/expected"
HANDOVERS=""
for pair in 1:38.59 2:209.49 3:270.91 4:335.59 5:433.77; do
  part=${pair%%:*}
  music=${pair#*:}
  want=$(awk -v p="$part" '$1 == p { print $2 }' "$WORK/expected")
  fine=$(awk -v p="$part" '$1 == p { print $3 }' "$WORK/expected")
  got=$(grep "^part $part from demo time" "$WORK/progress" | head -1 | awk '{print $6}')
  if [ -z "$got" ]; then
    fail "missing hand-over to part $part (expected at ${want:-?} s at $FPS frames/s, $music s in the music)"
  elif ! awk -v a="$got" -v b="$want" 'BEGIN { d = a - b; exit !(d < 0.5 && d > -0.5) }'; then
    fail "hand-over to part $part at $got s, expected ${want:-?} s at $FPS frames/s"
  fi
  awk -v a="${fine:-0}" -v b="$music" 'BEGIN { d = a - b; exit !(d < 0.5 && d > -0.5) }' ||
    fail "the sections' timeline hands over to part $part at ${fine:-?} s, the music at $music s"
  HANDOVERS="$HANDOVERS ${got:-?}"
done
ERRORS=$(grep -o 'GL errors: [0-9]*' "$WORK/progress" | awk '{print $3}')
[ "${ERRORS:-missing}" = "0" ] || fail "GL errors: ${ERRORS:-no count}"
# Each cloud makes its storage on its scene's first frame, so resident
# memory steps up at every hand-over. Within a section the software
# rasterizer still makes copies of its own, about 37 MB each, when a
# texture is first sampled (the intro's later shapes) or its pools grow
# while points crowd its tiles, and then settles; when it does so varies a
# little from run to run. A leak goes on growing with every frame, so the
# last quarter of every section must hold within 40 MB. Reported: the step
# at each hand-over (from the last sample before it to the first after the
# new section's first second), the growth of each section's first three
# quarters (settling) and of its last quarter.
grep '^part [0-9]* from demo time' "$WORK/progress" | awk '{ print $2, $6 }' >"$WORK/starts"
awk -v last="$LAST" -v fps="$FPS" 'NR == FNR { start[$1] = $2; n = $1; next }
  { part = 0; for (p = 1; p <= n; ++p) if ($2 >= start[p]) part = p
    from = part == 0 ? 0 : start[part]; to = part < n ? start[part + 1] : last
    if (part > 0 && $2 < from + 1 + 1 / fps) next  # the new cloud is still making its storage
    if (!(part in first)) { first[part] = $1; step[part] = $1 - prev }
    if ($2 < from + 0.75 * (to - from)) half[part] = $1; else if (!(part in late)) late[part] = half[part] ? half[part] : $1
    end[part] = $1 }
  { prev = $1 }
  END { for (p = 0; p <= n; ++p) if (p in first) {
          if (!(p in late)) late[p] = end[p]
          printf "%d %.1f %.1f %.1f\n", p, step[p] / 1024, (late[p] - first[p]) / 1024, (end[p] - late[p]) / 1024 } }' \
  "$WORK/starts" "$WORK/rss" >"$WORK/sections"
GROWTH=$(awk 'NR <= 4 { first = $1 } { last = $1 } END { print (NR ? int((last - first) / 1024) : 0) }' "$WORK/rss")
STEPS=$(awk 'NR > 1 { printf " %d:+%.0f", $1, $2 }' "$WORK/sections")
SETTLE=$(awk '{ printf " %d:+%.1f", $1, $3 }' "$WORK/sections")
MEMORY=$(awk '{ printf " %d:+%.1f", $1, $4 }' "$WORK/sections")
awk '$4 >= 40 { print "section " $1 " grew by " $4 " MB in its last quarter"; bad = 1 } END { exit bad }' \
  "$WORK/sections" >"$WORK/grew" || fail "resident memory: $(tr '\n' ';' <"$WORK/grew")"
SHEET_FILE=$ROOT/docs/timeline.png
[ -n "$FRAMES" ] && SHEET_FILE=$WORK/timeline.png  # a short run keeps the sheet of the last whole one
SHEET=$("$BUILD_DIR/obelisk_timelinesheet" "$WORK/frames" "$FPS" "$SHEET_FILE" 2>&1)
BLACK=$(echo "$SHEET" | grep '^black:' | cut -c8-)
[ -z "$BLACK" ] || fail "black frames at demo time$BLACK"
cp "$WORK/progress" "$BUILD_DIR/fullrun-progress.txt"
cp "$WORK/rss" "$BUILD_DIR/fullrun-memory.txt"  # resident kB and demo time, every 5 s
echo "fullrun: exit $CODE, end ${LAST:-?} s, hand-overs$HANDOVERS, GL errors ${ERRORS:-?}, memory (MB) steps at the hand-overs${STEPS:- none}, first three quarters${SETTLE:- none}, last quarters${MEMORY:- none} (+${GROWTH} MB the whole run), black frames: ${BLACK:-none}"
[ $FAIL -eq 0 ] && echo "fullrun: passed" || echo "fullrun: FAILED"
exit $FAIL
