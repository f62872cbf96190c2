#version 430 compatibility
// A round point. Colour A gets its light and full coverage in alpha (the
// backdrop is painted only where colour A stays empty); colour B the part
// of it that flares, which the occlusion pass adds back.
#include "point_disc.cpp"

void main() {
  vec3 light = pointColour.rgb * pointShade(0.8, 0.2);
  gl_FragData[0] = vec4(light, 1.0);
  gl_FragData[1] = vec4(light * pointGlow, 1.0);
}
