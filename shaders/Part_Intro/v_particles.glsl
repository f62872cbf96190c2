#version 430 compatibility
// The main cloud's draw: one point per particle, its position from the
// simulator's buffer (gl_Vertex; w is the part of its light that flares),
// its colour and size from "ColorTexture". Sizes follow the window width
// through ResolutionMultiplier and shrink with distance.
#include "point_vertex.cpp"

void main() {
  vec4 colour = particleLook();
  float diameter = pointDiameter(colour.a * 2.0, 6.0, 0.25);
  // the nearest point wins its pixel, so every point carries its full light;
  // points thinner than a pixel only fade a little
  float energy = showPoint(diameter, 7.0, 0.35);
  pointColour = vec4(colour.rgb * energy * twinkle(0.88, 0.12), 1.0);
  pointGlow = gl_Vertex.w;
}
