#!/bin/sh
# transport_keys.sh BUILD_DIR: the transport's keys pressed for real, through
# the X server (xdotool), reach the demo under --author: pause and resume,
# seeks by 1 and 10 s, the next and the previous section, the loop, Home.
# Exit code 77 (skipped) without a display or xdotool.
[ -n "$DISPLAY" ] && command -v xdotool >/dev/null || { echo "no display or no xdotool"; exit 77; }
BUILD_DIR=$(cd "$1" && pwd) || exit 2
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/../support/datalinks.sh"
datalinks "$BUILD_DIR" "$work/data" && cd "$work/data" || exit 2

SDL_AUDIODRIVER=dummy "$BUILD_DIR/obelisk" --windowed --mode 64x40 --no-aa --author --fps 10 \
  --capture "$work/frames" --frames 8 >"$work/run.txt" 2>&1 &
pid=$!
window=$(timeout 60 xdotool search --sync --pid $pid --name "Obelisk" | head -n 1)
[ -n "$window" ] || { echo "no window"; exit 1; }
# the keys go in once frames are drawn; the run ends four frames later
until [ -f "$work/frames/frame_000001.png" ]; do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
xdotool windowfocus --sync "$window"
for key in space space Right shift+Right Next Prior l Home; do xdotool key --clearmodifiers "$key"; done
wait $pid
code=$?
pid=
got=$(grep -E "^(Paused|Resumed|Seek|Loop)" log/Mylog.txt | sed 's/Seek: demo time \([0-9]*\)[.0-9]* /Seek: \1 /; s/ at .*//')
want="Paused
Resumed
Seek: 1 part 0
Seek: 11 part 0
Seek: 38 part 1
Seek: 0 part 0
Loop: part 0
Seek: 0 part 0"
echo "$got"
[ $code -eq 0 ] || { echo "the run ended with $code"; cat "$work/run.txt"; exit 1; }
[ "$got" = "$want" ] || { echo "expected:"; echo "$want"; exit 1; }
echo "transport_keys: passed"
