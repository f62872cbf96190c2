#!/bin/sh
# check-release-libs.sh FOLDER -- every ELF file under the unpacked release
# folder must find each library it needs in FOLDER/lib or in the system set
# (scripts/release-libs.sh). Reads the dynamic sections, so nothing of the
# build machine can stand in. Names every library that would come from
# elsewhere and exits 1; prints one line and exits 0 when all resolve.
set -u
DIR=${1:?usage: check-release-libs.sh FOLDER}
HERE=$(cd "$(dirname "$0")" && pwd)
if [ -f "$HERE/release-libs.sh" ]; then . "$HERE/release-libs.sh"; else . "$DIR/lib/system-libraries.sh"; fi
bad=0 files=0
for f in $(find "$DIR" -type f); do
  [ "$(head -c 4 "$f" | od -An -c | tr -d ' ')" = "177ELF" ] || continue
  files=$((files + 1))
  for lib in $(readelf -d "$f" 2>/dev/null | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    systemLibrary "$lib" && continue
    [ -f "$DIR/lib/$lib" ] && continue
    echo "check-release-libs: ${f#$DIR/} needs $lib, which is neither in lib/ nor a system library" >&2
    bad=1
  done
  case $f in
    "$DIR"/lib/*) want='$ORIGIN' ;;
    *) want='$ORIGIN/lib' ;;
  esac
  runpath=$(readelf -d "$f" 2>/dev/null | sed -n 's/.*(\(RUNPATH\|RPATH\)).*\[\(.*\)\]/\2/p')
  if [ "$runpath" != "$want" ]; then
    echo "check-release-libs: ${f#$DIR/} has run path '$runpath', not '$want'" >&2
    bad=1
  fi
done
[ $bad -eq 0 ] || exit 1
echo "check-release-libs: $files ELF files, every library from lib/ or the system set"
