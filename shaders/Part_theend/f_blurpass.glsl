#version 430 compatibility
// The frame to the window, softened by depth: the word at the focus stays
// sharp, what lies nearer or farther (the ring) melts into soft discs.
// "Limit" widens the blur everywhere. A light vignette closes the frame.
#include "linear_depth.cpp"
#include "blur_disc.cpp"

// The eye closes in on the word from about 12 units to 7 in the first 3 s:
// the focus follows it.
float focusAt(float t) {
  float u = clamp(0.25 * (t + 1.0), 0.0, 1.0);
  return 7.0 + 6.0 * (0.5 + 0.5 * cos(3.14159265 * u));
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  float depth = min(linearDepth(uv), 30.0);
  float focus = focusAt(time);
  float blur = clamp(abs(depth - focus) / focus * 1.6 - 0.15, 0.0, 1.0) + Limit;
  gl_FragColor = softened(uv, min(blur, 2.0), 0.006, 0.5, 0.45);
}
