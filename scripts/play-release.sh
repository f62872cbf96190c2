#!/bin/sh
# play -- plays Obelisk from this release folder; every option passes through
# (./play --help lists them). The program itself bakes the data files on its
# first run (meshes, images, routes, the music: about 80 MB, made by
# obelisk_content) into ./data, or, when this folder is not writable, into
# ${XDG_CACHE_HOME:-~/.cache}/obelisk/data; a later archive bakes afresh.
#   ./play --data-folder   bakes if needed, prints the data folder, plays nothing
exec "$(dirname "$0")/obelisk" "$@"
