#version 430 compatibility
// A round point. Colour A gets its light, and in alpha whether it covers
// what lies behind: the bird's points do; the sky painted later is added
// under the others (embers, dust, shell). Colour B gets what glows.
#include "point_disc.cpp"

void main() {
  vec3 light = pointColour.rgb * pointShade(0.7, 0.3);
  gl_FragData[0] = vec4(light, pointColour.a);
  gl_FragData[1] = vec4(light * pointGlow, 1.0);
}
