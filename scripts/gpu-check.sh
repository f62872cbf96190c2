#!/bin/sh
# gpu-check -- one command that tells how Obelisk runs on this machine's
# graphics driver, headless (no display server, no sound card needed):
#  1. the GL renderer, vendor and version (a silent fall-back to a software
#     rasterizer shows at once);
#  2. bakes the data if it is missing;
#  3. a frame-time benchmark of each scene at a busy moment: frames a second
#     (from the median frame), the 99th-percentile frame, total/particles, the
#     milliseconds of compute, points and post, and the GL errors logged;
#  4. one frame of each scene at 640 x 400 without antialiasing (its sample
#     patterns differ between drivers) against the frame Mesa's software
#     rasterizer draws at that moment (after a 2-pixel blur of both): the mean
#     absolute difference and the share of pixels more than 10 % apart;
#  5. one summary line to paste into a report.
# Exits 1 when a scene fails to draw, logs a GL error, or differs grossly
# from its reference (more than a quarter of its pixels); 0 otherwise.
#   SIZE (default 1920x1080)  FRAMES (default 600)  give smaller ones on slow machines
# In the release folder it uses the folder's program and reference frames; in
# the source tree BUILD_DIR (default build) and REFERENCE_DIR (default the
# reference frames scripts/release.sh left in dist/stage/obelisk/reference).
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
SIZE=${SIZE:-1920x1080}
FRAMES=${FRAMES:-600}
FPS=60  # benchmark frames are 1/60 s of demo time apart: 600 frames stay inside each scene
# section, its own clock: a busy moment of each scene, used for both checks
MOMENTS="0:8:start 1:95:intro 2:40:reallife 3:30:city 4:60:mantis 5:12:end"

if [ -x "$HERE/play" ] && [ -x "$HERE/obelisk" ]; then
  EXE=$HERE/obelisk
  DIFF=$HERE/obelisk_framediff
  REF=$HERE/reference
  DATA=$("$HERE/play" --data-folder) || { echo "gpu-check: baking the data failed" >&2; exit 1; }
else
  ROOT=$(cd "$HERE/.." && pwd)
  BUILD_DIR=${BUILD_DIR:-build}
  case $BUILD_DIR in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
  if [ ! -x "$BUILD_DIR/obelisk" ] || [ ! -x "$BUILD_DIR/obelisk_framediff" ] || [ ! -f "$BUILD_DIR/data/.baked" ]; then
    echo "gpu-check: building and baking in $BUILD_DIR" >&2
    { cmake -S "$ROOT" -B "$BUILD_DIR" && cmake --build "$BUILD_DIR" -j"$(nproc)" \
      --target obelisk obelisk_framediff bake shaders; } >/dev/null || exit 1
  fi
  EXE=$BUILD_DIR/obelisk
  DIFF=$BUILD_DIR/obelisk_framediff
  REF=${REFERENCE_DIR:-$ROOT/dist/stage/obelisk/reference}
  DATA=$BUILD_DIR/data
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT INT TERM
failed=0
errorsAll=0
fpsLine=""

run() {  # run OUTPUT ARGS...: the program from its data folder, headless
  out=$1
  shift
  (cd "$DATA" && "$EXE" --headless "$@" >"$out.out" 2>"$out.err")
}

glErrors() { sed -n 's/^GL errors: \([0-9]*\).*/\1/p' "$1.err" | tail -n1; }

# ---- 1 and 3: the driver, then the benchmark of every scene ---------------------
first=1
for m in $MOMENTS; do
  n=${m%%:*} rest=${m#*:}
  t=${rest%%:*} name=${rest#*:}
  o=$scratch/bench_$n
  run "$o" --mode "$SIZE" --section "$n" --at "$t" --bench --frames "$FRAMES" --fps "$FPS" --gl-debug
  rc=$?
  if [ $first -eq 1 ]; then
    for key in renderer vendor version; do
      printf 'gpu-check: %-9s %s\n' "$key" "$(sed -n "s/^$key: //p" "$o.out" | head -n1)"
    done
    renderer=$(sed -n 's/^renderer: //p' "$o.out" | head -n1)
    printf '\n%-9s %-10s %9s %8s %9s %10s %9s %8s %6s\n' scene size frames/s p99_ms tot/part compute_ms points_ms post_ms errors
    first=0
  fi
  errors=$(glErrors "$o")
  [ -n "$errors" ] || errors=0
  row=$(awk -v name="$name" -v size="$SIZE" -v want="$FRAMES" -v errors="$errors" -v rc="$rc" '
    /^frames:/ { frames = $2 }
    /^cpu frame/ { median = $4; p99 = $6 }
    /^gpu compute/ { compute = $4 }
    /^gpu points/ { points = $4 }
    /^gpu post/ { post = $4 }
    /^total\/particles/ { ratio = $2 }
    END {
      ok = rc == 0 && frames + 0 == want + 0 && median > 0 && errors + 0 == 0
      fps = 0
      if (median > 0) fps = 1000 / median
      mark = ok ? "" : "  FAILED"
      printf "%-9s %-10s %9.1f %8.2f %9.3f %10.3f %9.3f %8.3f %6d%s\n", name, size, fps, p99, ratio, compute, points,
        post, errors, mark
    }' "$o.out")
  echo "$row"
  case $row in *FAILED*)
    failed=1
    [ $rc -eq 0 ] || { echo "  exit code $rc:"; tail -n 3 "$o.err" | sed 's/^/  /'; } ;;
  esac
  errorsAll=$((errorsAll + errors))
  fpsLine="$fpsLine $name $(echo "$row" | awk '{ printf "%.0f", $3 }')"
done

# ---- 4: frames against the software rasterizer's ----------------------------------
echo
if [ ! -d "$REF" ]; then
  echo "no reference frames in $REF (scripts/release.sh makes them): frames not compared"
  worst="not compared"
else
  printf '%-9s %10s %14s\n' scene mean_diff pixels_off
  worstShare=0 worstName=""
  for m in $MOMENTS; do
    n=${m%%:*} rest=${m#*:}
    t=${rest%%:*} name=${rest#*:}
    o=$scratch/frame_$n
    run "$o" --mode 640x400 --no-aa --section "$n" --at "$t" --capture "$scratch/cap_$n" --frames 1 --gl-debug
    rc=$?
    frame=$scratch/cap_$n/frame_000000.png
    errors=$(glErrors "$o")
    [ -n "$errors" ] || errors=0
    errorsAll=$((errorsAll + errors))
    if [ $rc -ne 0 ] || [ ! -f "$frame" ]; then
      printf '%-9s %s\n' "$name" "no frame (exit code $rc)  FAILED"
      failed=1
      continue
    fi
    set -- $("$DIFF" "$frame" "$REF/scene_$n.png" 2 2>&1)
    if [ "${1:-}" != mean ]; then
      printf '%-9s %s\n' "$name" "cannot compare: $*  FAILED"
      failed=1
      continue
    fi
    mean=$2 share=$4 darkFrame=$6 darkRef=$7
    verdict=$(awk -v s="$share" -v e="$errors" -v d="$darkFrame" -v r="$darkRef" \
      'BEGIN { print (s > 0.25 || e > 0 || (d == 1 && r == 0)) ? "  FAILED" : "" }')
    [ -z "$verdict" ] || failed=1
    [ "$darkFrame" = 1 ] && [ "$darkRef" = 0 ] && verdict=" black$verdict"
    printf '%-9s %10.4f %12.1f %%%s\n' "$name" "$mean" "$(awk -v s="$share" 'BEGIN { print s * 100 }')" "$verdict"
    if awk -v a="$share" -v b="$worstShare" 'BEGIN { exit !(a > b) }'; then worstShare=$share worstName=$name; fi
  done
  worst=$(awk -v s="$worstShare" -v n="$worstName" 'BEGIN { printf "%.1f %% of pixels off%s", s * 100, n == "" ? "" : " (" n ")" }')
fi

# ---- 5: the summary ------------------------------------------------------------------------
verdict=PASS
[ $failed -eq 0 ] || verdict=FAIL
echo
echo "gpu-check: $verdict | ${renderer:-unknown renderer} | $SIZE x$FRAMES frames/s:$fpsLine | frames vs software: $worst | GL errors $errorsAll"
[ $failed -eq 0 ]
