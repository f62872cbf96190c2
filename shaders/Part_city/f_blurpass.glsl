#version 430 compatibility
// The frame to the window, softened by depth around the cloud's distance
// (the camera stands 9.6 units from it): the street close to the lens and
// the far end melt a little, the cloud stays sharp. A light vignette, the
// same the backdrop gets, closes the frame.
#include "linear_depth.cpp"
#include "blur_disc.cpp"

const float Focus = 9.6;

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  float depth = min(linearDepth(uv), 30.0);
  float blur = clamp(abs(depth - Focus) / Focus - 0.25, 0.0, 1.0) + Limit;
  gl_FragColor = softened(uv, min(blur, 2.0), 0.004, 0.6, 0.45);
}
