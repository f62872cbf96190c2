#!/bin/sh
# play -- plays Obelisk from this release folder; every option passes through
# (./play --help lists them).
# The first run bakes the data files the production reads (meshes, images,
# routes, the music: about 80 MB, made by obelisk_content) into ./data, or,
# when this folder is not writable, into the cache folder
# ${XDG_CACHE_HOME:-~/.cache}/obelisk. A later archive bakes afresh.
#   ./play --data-folder   bakes if needed, prints the data folder, plays nothing
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
VERSION=$(cat "$HERE/VERSION" 2>/dev/null || echo unknown)

if [ "$(cat "$HERE/data/.baked" 2>/dev/null || true)" = "$VERSION" ] || [ -w "$HERE" ]; then
  DATA=$HERE/data
else
  DATA=${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/obelisk/data
fi

if [ "$(cat "$DATA/.baked" 2>/dev/null || true)" != "$VERSION" ]; then
  echo "obelisk: first run: baking the data files into $DATA" >&2
  mkdir -p "$(dirname "$DATA")"
  fresh=$DATA.new.$$
  rm -rf "$fresh"
  trap 'rm -rf "$fresh"' EXIT INT TERM
  mkdir -p "$fresh/log"
  if ! "$HERE/obelisk_content" "$fresh" --progress; then
    echo "obelisk: baking the data failed (is there room in $(dirname "$DATA")?)" >&2
    exit 1
  fi
  cp -R "$HERE/shaders/." "$fresh/"
  echo "$VERSION" >"$fresh/.baked"
  rm -rf "$DATA"
  mv "$fresh" "$DATA"
  trap - EXIT INT TERM
fi

if [ "${1:-}" = "--data-folder" ]; then
  echo "$DATA"
  exit 0
fi
cd "$DATA"
exec "$HERE/obelisk" "$@"
