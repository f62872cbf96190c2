#version 430 compatibility
// The swing swarm's draw: as the main cloud's, but a particle shows only
// once the swarm's fade (image 0's w) has passed its own threshold, so the
// swing sparkles in and out instead of dimming (a dim point would read as
// a hole in front of the strand).
#include "point_vertex.cpp"

void main() {
  vec4 colour = particleLook();
  float diameter = pointDiameter(colour.a * 2.0, 6.0, 0.25);
  gl_PointSize = clamp(diameter, 1.0, 6.0);
  float threshold = fract(float(gl_VertexID) * 0.618034);
  if (gl_Vertex.w <= threshold) gl_Position = Hidden;
  pointColour = vec4(colour.rgb, 1.0);
  pointGlow = 0.9;
  keepShare(pointCover());
}
