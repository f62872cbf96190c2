#version 430 compatibility
// A soft round mote. Colour B gets a little more of it: the occlusion pass
// adds the difference back as a faint flare.
#include "point_disc.cpp"

void main() {
  vec3 light = pointColour.rgb * (1.0 - 0.6 * pointDisc());
  gl_FragData[0] = vec4(light, 1.0);
  gl_FragData[1] = vec4(light * 1.6, 1.0);
}
