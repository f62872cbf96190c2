#!/bin/sh
# test-release.sh -- the release archive on a foreign machine: a minimal
# Debian 13 root filesystem with only its essential packages and Mesa's GL and
# EGL libraries with glvnd's dispatch, nothing from the build machine. Inside a chroot the
# unpacked archive bakes its data, captures every scene headless at one moment
# each, single-sampled and antialiased, and must match the build tree's frames
# at the same moments (single-sampled: the same rasterizer, within rounding;
# antialiased: as bright within 5 % and a mean difference of at most 0.01);
# without GTK and without options the program must print its one-line message
# and exit 2.
# Needs root and the Debian package registry; prints a skip line without them.
#   MIRROR (default http://deb.debian.org/debian)  SUITE (default trixie)
#   KEEP=1 keeps the root filesystem and the frames in /tmp for a look
#   ROOTFS=DIR runs in a root filesystem kept by an earlier run (DIR is the
#     kept folder's root/) instead of making one: the archive is unpacked
#     and baked afresh in it
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
MIRROR=${MIRROR:-http://deb.debian.org/debian}
SUITE=${SUITE:-trixie}
MOMENTS="0:8 1:95 2:40 3:30 4:60 5:12"
SIZE=320x200

if [ "$(id -u)" -ne 0 ]; then
  echo "test-release: SKIPPED: needs root (a chroot and mounts)"
  exit 0
fi
if ! "$ROOT/scripts/deps.sh" mmdebstrap curl patchelf xz-utils >/dev/null 2>&1 ||
  ! curl -sfI --max-time 30 "$MIRROR/dists/$SUITE/Release" >/dev/null; then
  echo "test-release: SKIPPED: the Debian package registry ($MIRROR) cannot be reached"
  exit 0
fi

"$ROOT/scripts/release.sh"
BUILD_DIR=${BUILD_DIR:-$ROOT/build-release}
ARCHIVE=$ROOT/dist/obelisk-linux-x86_64.tar.xz

work=$(mktemp -d /tmp/obelisk-release-test.XXXXXX)
fs=$work/root
cleanup() {
  for m in "$fs/dev/shm" "$fs/proc"; do mountpoint -q "$m" 2>/dev/null && umount -l "$m"; done
  if [ -n "${KEEP:-}" ]; then echo "test-release: kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT INT TERM

if [ -n "${ROOTFS:-}" ] && [ -x "$ROOTFS/usr/bin/env" ]; then
  fs=$(cd "$ROOTFS" && pwd)
  echo "test-release: reusing the root filesystem $fs"
  rm -rf "$fs/opt/obelisk" "$fs/root/.cache/obelisk" "$fs"/tmp/cap_*
else
  echo "test-release: making a minimal Debian $SUITE root filesystem"
  mmdebstrap --quiet --mode=root --variant=essential \
    --include=libgl1,libegl1,libopengl0,libgl1-mesa-dri,libegl-mesa0,libglx-mesa0 \
    "$SUITE" "$fs" "$MIRROR" >"$work/mmdebstrap.log" 2>&1 || { tail -n 20 "$work/mmdebstrap.log"; exit 1; }
fi
mkdir -p "$fs/opt" "$fs/dev/shm"
tar -C "$fs/opt" -xJf "$ARCHIVE"
mount -t proc proc "$fs/proc"
mount -t tmpfs tmpfs "$fs/dev/shm"

inside() {  # a command in the chroot, with an empty environment
  chroot "$fs" /usr/bin/env -i HOME=/root PATH=/usr/bin:/bin LANG=C.UTF-8 /bin/sh -c "$1"
}

failed=0
fail() {
  echo "test-release: FAILED: $*" >&2
  failed=1
}

# The libraries: every ELF file of the unpacked archive.
"$ROOT/scripts/check-release-libs.sh" "$fs/opt/obelisk" || fail "a library would come from outside the archive"

# The first run bakes.
start=$(date +%s)
inside "cd /opt/obelisk && ./play --data-folder" >"$work/bake.out" 2>"$work/bake.err" ||
  { cat "$work/bake.err"; fail "the bake failed"; }
echo "test-release: baked in $(($(date +%s) - start)) s into $(cat "$work/bake.out")"
data=$fs$(cat "$work/bake.out")

# Without GTK and without options: one line, exit code 2.
set +e
inside "cd /opt/obelisk && ./play" >"$work/nogtk.out" 2>"$work/nogtk.err"
code=$?
set -e
lines=$(grep -c . "$work/nogtk.err" || true)
if [ $code -ne 2 ] || [ "$lines" -ne 1 ] || ! grep -q "needs GTK 3" "$work/nogtk.err"; then
  fail "without GTK the program exited $code with: $(cat "$work/nogtk.err")"
else
  echo "test-release: without GTK: exit 2, \"$(cut -c1-70 "$work/nogtk.err")...\""
fi

# The same data as the build tree's (the generator is deterministic).
sums() { (cd "$1" && find . -type f ! -path './log/*' ! -name .baked -print0 | sort -z | xargs -0 sha256sum); }
sums "$BUILD_DIR/data" >"$work/data.build"
sums "$data" >"$work/data.chroot"
# The music is synthesised with the C library's mathematics, whose last bits
# may change between its versions: a different track is told, not failed.
differing=$(diff "$work/data.build" "$work/data.chroot" | sed -n 's/^< [0-9a-f]*  //p')
others=$(echo "$differing" | grep -v '^\./music/' | grep . || true)
[ -z "$others" ] || fail "the baked data differs from the build tree's in: $(echo "$others" | tr '\n' ' ')"
if [ -n "$differing" ] && [ -z "$others" ]; then
  echo "test-release: the baked data matches the build tree's but for the music (this C library's mathematics)"
elif [ -z "$differing" ]; then
  echo "test-release: the baked data matches the build tree's, file for file"
fi

# Every scene, headless, against the build tree's frame, single-sampled and
# antialiased. The point draw rasterizes single-sampled on every target and
# the point programs set how much light a point leaves (scene::drawPoints,
# point_vertex), so the antialiased frames agree too: the multisampled
# drawing of the rest (titles, meshes, lines, the passes' targets) may still
# differ by a little between rasterizer versions.
mkdir -p "$work/tree"
for m in $MOMENTS; do
  n=${m%%:*} t=${m#*:}
  for aa in no-aa aa; do
    args="--headless --mode $SIZE --section $n --at $t --frames 1"
    [ $aa = aa ] || args="$args --no-aa"
    shot=${aa}_$n
    inside "cd \"\$(/opt/obelisk/play --data-folder)\" && /opt/obelisk/obelisk $args --capture /tmp/cap_$shot" \
      >/dev/null 2>"$work/cap_$shot.err" || { tail -n 3 "$work/cap_$shot.err"; fail "scene $n ($aa) did not render in the chroot"; continue; }
    (cd "$BUILD_DIR/data" && env -u DISPLAY "$BUILD_DIR/obelisk" $args --capture "$work/tree/$shot" >/dev/null 2>&1) ||
      { fail "scene $n ($aa) did not render in the build tree"; continue; }
    set -- $("$BUILD_DIR/obelisk_framediff" "$fs/tmp/cap_$shot/frame_000000.png" "$work/tree/$shot/frame_000000.png" 1)
    echo "test-release: scene $n at $t s, $aa: mean difference $2, pixels off by more than 10 % $4, brightness $9 (chroot) against ${10}"
    if [ "$6" = 1 ] || [ "$7" = 1 ]; then
      fail "scene $n ($aa) is black"
    elif [ $aa = no-aa ] && awk -v m="$2" -v s="$4" 'BEGIN { exit !(m > 0.002 || s > 0.001) }'; then
      fail "scene $n ($aa) differs from the build tree's frame"
    elif [ $aa = aa ] && awk -v m="$2" -v a="$9" -v b="${10}" 'BEGIN { d = a - b; exit !(m > 0.01 || d > 0.05 * b || -d > 0.05 * b) }'; then
      fail "scene $n ($aa) differs from the build tree's frame: more than 5 % in brightness or 0.01 in mean"
    fi
  done
done

if [ $failed -ne 0 ]; then exit 1; fi
echo "test-release: passed on Debian $SUITE ($(du -m "$ARCHIVE" | cut -f1) MiB archive)"
