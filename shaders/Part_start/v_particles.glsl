#version 430 compatibility
// The particle draw: one point per texel of the grid, its position from the
// simulator's buffer (gl_Vertex), its colour and size from "ColorTexture".
// Sizes follow the window width through ResolutionMultiplier.
#include "point_vertex.cpp"

void main() {
  vec4 colour = particleLook();
  pointColour = surfacePoint(colour, 0.85, 0.15);
  // The nearest point hides what lies behind it: only one in ten dust points
  // is drawn, or the haze would veil the slab.
  bool dust = gl_Vertex.w < 0.4;
  if (dust && gl_VertexID % 10 != 0) gl_Position = Hidden;
  if (dust) {  // single-pixel motes, bright enough to read as sparkle, not as holes
    gl_PointSize = 1.0;
    pointColour.rgb = vec3(0.1, 0.14, 0.26) + pointColour.rgb;
  }
  pointGlow = 0.5 + clamp(length(colour.rgb) - 1.2, 0.0, 2.0);
  // The motes keep under half the share their width gives: spread over the
  // screen one by one, full-bright specks read far busier than the faint
  // haze the dust is meant to be.
  keepShare(pointCover() * (dust ? 0.45 : 1.0));
}
