#version 430 compatibility
// The particle draw: one point per texel of the grid, its position from the
// simulator's buffer (gl_Vertex), its colour and size from "ColorTexture".
// Every point carries its full light: the nearest point wins the pixel, and
// a dimmed point would read as a dark speck against the dusk behind it.
#include "point_vertex.cpp"

void main() {
  vec4 colour = particleLook();
  float distance = placePoint(0.3);
  if (gl_Vertex.w <= 0.0) gl_Position = Hidden;  // not drawn
  // The lens narrows to 25 degrees: sizes follow the projection's scale.
  float zoom = gl_ProjectionMatrix[1][1] / 1.92;
  float diameter = colour.a * 2.0 * ResolutionMultiplier * 9.6 * zoom / distance;
  gl_PointSize = clamp(diameter, 1.0, 7.0);
  pointColour = vec4(colour.rgb * twinkle(0.9, 0.1), 1.0);
  pointGlow = 0.15 + clamp(length(colour.rgb) - 1.1, 0.0, 1.5);
  keepShare(pointCover());
}
