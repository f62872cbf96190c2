#!/bin/sh
# The Windows part of the test command: builds the Windows archive
# (scripts/release-windows.sh) and checks it under Wine, in a fresh prefix on
# a virtual X server, on Mesa's software rasterizer:
#   - every PE file in the archive imports only DLLs that are in it or that
#     Windows brings;
#   - the platform layer's shared test passes (platform_tests.exe);
#   - the first run bakes the data (timed) before anything else;
#   - the GPU check, small: every scene renders without a GL error, its
#     frame matches the Linux build's reference of the same moment;
#     per-scene figures against the Linux frames are printed;
#   - the settings dialog: caption, controls and list, "Quit" ends with 0
#     (scripts/windows-dialog-check.sh); "Run ... " starts the production,
#     which ends on Escape with the closing fade and exit code 0.
# Prints one skip line and exits 0 where the cross compilers or Wine cannot
# be installed. KEEP=1 keeps the work folder (its path is printed).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
NAME=test-windows
say() { echo "$NAME: $*"; }

if [ "${1:-}" != --inside ]; then
  if ! "$ROOT/scripts/deps.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
      mingw-w64-x86-64-dev wine wine64 fonts-wine zip unzip dpkg-dev >/dev/null 2>&1 ||
      ! command -v wine >/dev/null || ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    say "skipped: the MinGW-w64 cross compilers or Wine cannot be installed here"
    exit 0
  fi
  started=$(date +%s)
  "$ROOT/scripts/release-windows.sh"
  WORK=$(mktemp -d /tmp/obelisk-windows.XXXXXX)
  [ "${KEEP:-0}" = 1 ] && say "work folder $WORK" || trap 'rm -rf "$WORK"' EXIT
  unzip -q "$ROOT/dist/obelisk-windows-x86_64.zip" -d "$WORK"
  export WORK
  # a small screen: the production plays at its size, a frame at a time on
  # the software rasterizer
  xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside
  say "passed in $(( $(date +%s) - started )) s"
  exit 0
fi

# ---- inside the X server ---------------------------------------------------------------
BUILD_DIR=${BUILD_DIR:-$ROOT/build-windows}
LINUX_BUILD=${LINUX_BUILD:-$ROOT/build}
case $BUILD_DIR in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
case $LINUX_BUILD in /*) ;; *) LINUX_BUILD=$ROOT/$LINUX_BUILD ;; esac
PKG=$WORK/obelisk
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export SDL_AUDIODRIVER=dummy  # no sound card here
fail() { say "FAIL: $*"; exit 1; }
trap 'wineserver -k 2>/dev/null || true' EXIT

# Import tables.
for f in "$PKG"/*.exe "$PKG"/*.dll; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$f" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    [ -f "$PKG/$dll" ] || grep -qix "$dll" "$ROOT/scripts/windows-dlls.txt" ||
      fail "$(basename "$f") needs $dll, which is neither in the archive nor part of Windows"
  done
done
say "imports: $(ls "$PKG"/*.exe "$PKG"/*.dll | wc -l) PE files need only DLLs in the archive or Windows' own"

t0=$(date +%s)
wineboot -i >/dev/null 2>&1 || fail "wineboot could not make the prefix"
wineserver -w
say "fresh Wine prefix in $(( $(date +%s) - t0 )) s"

# The platform layer's shared test, beside the archive's DLLs.
cp "$BUILD_DIR/platform_tests.exe" "$BUILD_DIR/obelisk_dialogprobe.exe" "$WORK/"
cp "$PKG"/*.dll "$WORK/"
(cd "$WORK" && wine platform_tests.exe >"$WORK/platform.out" 2>&1) ||
  { tail -n 30 "$WORK/platform.out"; fail "the platform test failed"; }
say "platform: $(grep -E '^\[  PASSED  \]' "$WORK/platform.out" | tr -s ' ')"

# First run: no data beside the program yet.
t0=$(date +%s)
data=$(cd "$PKG" && wine obelisk.exe --data-folder 2>"$WORK/bake.err" | tr -d '\r') ||
  { tail -n 12 "$WORK/bake.err"; fail "the first-run bake failed"; }
[ -f "$PKG/data/.baked" ] && [ -d "$PKG/data/textures" ] && [ -d "$PKG/data/Part_start/shaders" ] ||
  fail "the first run left no whole data folder (it printed \"$data\")"
say "first-run bake under Wine: $(( $(date +%s) - t0 )) s, into $data"

# The GPU check, small; its frames against the Linux build's.
(cd "$PKG" && wine obelisk.exe --headless --gpu-check --mode 160x100 --frames 2 --write-reference "$WORK/frames" \
  >"$WORK/gpucheck.out" 2>&1) || { tail -n 20 "$WORK/gpucheck.out"; fail "the GPU check failed under Wine"; }
grep -a "gpu-check:" "$WORK/gpucheck.out" | tr -d '\r' | sed "s/^/$NAME: /"
for f in "$PKG"/reference/*.png; do
  leaf=$(basename "$f")
  [ -f "$WORK/frames/$leaf" ] || fail "the Windows build drew no $leaf"
  if [ -x "$LINUX_BUILD/obelisk_framediff" ]; then
    say "frame $leaf, Windows against Linux: $("$LINUX_BUILD/obelisk_framediff" "$f" "$WORK/frames/$leaf" | tr '\n' ' ')"
  fi
done

# The dialog: Quit, then Run ... and Escape.
"$ROOT/scripts/windows-dialog-check.sh" --screenshot "$WORK/dialog.png" quit "$PKG/obelisk.exe" \
  "$WORK/obelisk_dialogprobe.exe" "$PKG" || fail "the dialog check (Quit) failed"
[ -n "${DIALOG_SHOT:-}" ] && cp "$WORK/dialog.png" "$DIALOG_SHOT"
out=$("$ROOT/scripts/windows-dialog-check.sh" run "$PKG/obelisk.exe" "$WORK/obelisk_dialogprobe.exe" "$PKG") ||
  { echo "$out"; fail "the dialog check (Run ...) failed"; }
pid=$(echo "$out" | tail -n 1)
proglog=$(echo "$out" | sed -n 's/.*its output goes to \(.*\)$/\1/p' | tail -n 1)
log="$PKG/data/log/Mylog.txt"
waited=0
until grep -qa "^#2" "$log" 2>/dev/null && xdotool search --name "^ =  Obelisk by Veltra - 2015 = $" >/dev/null; do
  kill -0 "$pid" 2>/dev/null || fail "the production ended before it started"
  [ $waited -lt 600 ] || fail "the production did not start within 600 s"
  sleep 2
  waited=$((waited + 2))
done
# Escape is held down until the program ends: the loop reads the key's
# state after each frame (seconds apart on a software rasterizer), and the
# loading screen takes no keys at all.
window=$(xdotool search --name "^ =  Obelisk by Veltra - 2015 = $" | head -n 1)
xdotool windowfocus --sync "$window" mousemove --window "$window" 20 20 click 1 keydown Escape 2>/dev/null || true
waited=0
while kill -0 "$pid" 2>/dev/null; do
  [ $waited -lt 900 ] || { xdotool keyup Escape; fail "the production did not end within 900 s on Escape"; }
  sleep 2
  waited=$((waited + 2))
done
xdotool keyup Escape 2>/dev/null || true
code=$(cat "$proglog.code" 2>/dev/null || echo unknown)
rm -f "$proglog" "$proglog.code"
grep -qa "^Debug text:" "$log" || fail "the production ended without the closing fade (no \"Debug text:\" in the log)"
[ "$code" = 0 ] || fail "the production ended with exit code $code after Escape"
say "Run ... : the production started, played and ended on Escape with the fade, exit code 0"
