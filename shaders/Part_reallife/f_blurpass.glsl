#version 430 compatibility
// The frame to the window with a depth of field that focuses itself: the
// focus is the depth found round the middle of the picture (the cloud the
// camera looks at), what lies nearer or farther melts into soft discs.
// Pixels that hold no depth (empty, or the flights over empty sky) stay
// sharp. "Limit" widens the blur everywhere. A light vignette closes it.
#include "linear_depth.cpp"
#include "blur_disc.cpp"

float focusDepth() {
  float sum = 0.0, n = 0.0;
  for (int k = 0; k < 9; ++k) {
    vec2 at = vec2(0.5) + (vec2(float(k % 3), float(k / 3)) - 1.0) * vec2(0.08, 0.12);
    float d = linearDepth(at);
    if (d < 60.0) {
      sum += d;
      n += 1.0;
    }
  }
  return n > 0.0 ? sum / n : 5.0;
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  float depth = linearDepth(uv);
  float focus = focusDepth();
  float blur = depth < 60.0 ? clamp(abs(depth - focus) / focus * 1.4 - 0.08, 0.0, 1.0) : 0.0;
  gl_FragColor = softened(uv, min(blur + Limit, 2.0), 0.005, 0.5, 0.45);
}
