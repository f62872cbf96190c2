# release-common.sh -- the steps both release archives share; sourced by
# scripts/release.sh and scripts/release-windows.sh.

# The fonts the generator sets its titles in, and the GLSL sources laid out
# as the program reads them, from a build's data folder into the package.
copyFontsAndShaders() {  # BUILD_DIR PKG
  for font in DejaVuSans.ttf DejaVuSans-ExtraLight.ttf DejaVuSerif-Italic.ttf DejaVuSansMono.ttf; do
    cp "/usr/share/fonts/truetype/dejavu/$font" "$2/fonts/"
  done
  (cd "$1/data" && find . -path './*/shaders/*.cpp' -type f) | while read -r f; do
    mkdir -p "$2/shaders/$(dirname "$f")"
    cp "$1/data/$f" "$2/shaders/$f"
  done
}

# Reference frames from a Linux program on Mesa's software rasterizer,
# headless, over a baked data folder: its GPU check writes the frames it
# compares (a short benchmark first, at a small size). Stops the script,
# with the end of the log, when they do not render.
renderReferences() {  # PROGRAM DATA_DIR OUT_DIR LOG NAME
  echo "$5: rendering the reference frames"
  (cd "$2" && LIBGL_ALWAYS_SOFTWARE=1 "$1" --headless --gpu-check --mode 160x100 --frames 1 \
    --write-reference "$3" >"$4" 2>&1) ||
    { tail -n 12 "$4" >&2; echo "$5: the reference frames did not render" >&2; exit 1; }
}
