#!/bin/sh
# fullrun_short.sh SCRIPT BUILD_DIR: the full-run check on four frames must
# fail, and say which hand-overs it missed.
out=$(FRAMES=4 BUILD_DIR="$2" sh "$1")
code=$?
echo "$out"
[ $code -ne 0 ] && echo "$out" | grep -q "missing hand-over to part 1" && echo "$out" | grep -q "fullrun: FAILED"
