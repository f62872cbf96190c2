#version 430 compatibility
// The frame to the window, softened by depth. The focus follows the cloud:
// it is the nearest depth found on a small cross about the frame's centre,
// where the camera looks. What lies well in front of it melts into soft
// discs, what lies behind blurs a little; the empty sky stays sharp (the
// logo lies there). "Limit" widens the blur everywhere; a light vignette
// closes the frame.
#include "linear_depth.cpp"
#include "blur_disc.cpp"

float focus() {
  float f = 60.0;
  for (int k = -3; k <= 3; ++k) {
    f = min(f, linearDepth(vec2(0.5 + 0.05 * float(k), 0.5)));
    f = min(f, linearDepth(vec2(0.5, 0.5 + 0.07 * float(k))));
  }
  return f < 59.0 ? f : 5.0;
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  float depth = linearDepth(uv);
  float f = focus();
  float blur = depth > 60.0 ? 0.0 : clamp((f - depth) / f * 2.2, 0.0, 1.0) + clamp((depth - f) / f * 0.4, 0.0, 0.4);
  blur += Limit;
  gl_FragColor = softened(uv, min(blur, 2.0), 0.006, 0.5, 0.5);
}
