#version 430 compatibility
// The particle draw: one point per texel of the grid, its position from the
// simulator's buffer (gl_Vertex), colour and size from "ColorTexture".
// Sizes follow the window width through ResolutionMultiplier.
#include "point_vertex.cpp"

void main() {
  pointColour = surfacePoint(particleLook(), 0.88, 0.12);
  // The ring is a mark behind the word: one point in four, a pixel wide.
  bool ring = gl_Vertex.w < 0.25;
  if (ring && gl_VertexID % 4 != 0) gl_Position = Hidden;
  if (ring) gl_PointSize = 1.0;
  // While the word gathers (the first 0.85 s) only a few sparks fly in; the
  // letters fill in as they arrive.
  float formed = smoothstep(0.0, 0.85, ttime);
  int keep = int(mix(40.0, 1.0, formed * formed));
  if (!ring && gl_VertexID % keep != 0) gl_Position = Hidden;
  pointGlow = ring ? 1.0 : 0.45 + 0.5 * clamp(length(pointColour.rgb) - 1.0, 0.0, 1.0);
  keepShare(pointCover());
}
