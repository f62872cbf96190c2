#version 430 compatibility
// The motes: one point per drawn particle, its position from the
// simulator's buffer (gl_Vertex, w = brightness), colour and size from
// "ColorTexture". Drawn additively over the drawing, so a point's light is
// spread over its area: a wide point is no brighter than a narrow one.
// There is no point set: OriginalColorTexture is texture 0.
#include "point_vertex.cpp"

void main() {
  vec4 colour = particleLook();
  float diameter = pointDiameter(colour.a * 2.2, 7.0, 0.3);
  float shown = clamp(diameter, 1.0, 5.0);
  gl_PointSize = shown;
  pointColour = vec4(colour.rgb * gl_Vertex.w * clamp(diameter / shown, 0.4, 1.0), 1.0);
  // A mote thinner than its pixel is drawn in full or not at all (keepShare):
  // the drawing's sparse motes keep their sparkle where dimming every one
  // would sink them all into the dark.
  keepShare(pointCover());
  if (gl_Vertex.w <= 0.0) gl_Position = Hidden;  // parked
}
