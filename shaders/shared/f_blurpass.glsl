#version 430 compatibility
// The frame to the window, softened by depth: the slab at the focus stays
// sharp, what lies nearer or farther (the dust) melts into soft discs.
// "Limit" widens the blur everywhere. A light vignette closes the frame.
#include "linear_depth.cpp"
#include "blur_disc.cpp"

const float Focus = 7.0;

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  float depth = min(linearDepth(uv), 30.0);
  float blur = clamp(abs(depth - Focus) / Focus * 1.6, 0.0, 1.0) + Limit;
  gl_FragColor = softened(uv, min(blur, 2.0), 0.006, 0.5, 0.45);
}
