#!/bin/sh
# Installs the Debian packages the build, the content bake and the tests need,
# and any named as arguments (scripts/release.sh adds its own).
# Only missing packages are fetched; runs apt-get through sudo when not root.
set -e
PACKAGES="build-essential cmake pkg-config git \
  libsdl2-dev libglew-dev libglu1-mesa-dev libgl-dev libgl1-mesa-dri libegl1 libegl-mesa0 \
  libjpeg62-turbo-dev libgtk-3-0 libpng-dev zlib1g-dev \
  libmpg123-dev libmp3lame-dev libfreetype-dev fonts-dejavu-core \
  libgtest-dev libgmock-dev libbenchmark-dev libtinyobjloader-dev \
  clang libclang-rt-14-dev xvfb xauth xdotool glslang-tools $*"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends $missing
