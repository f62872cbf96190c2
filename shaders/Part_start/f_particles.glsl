#version 430 compatibility
// A round point, a little brighter at its core. Colour A gets the light;
// colour B the part of it that flares (the lifted sparks), which the
// occlusion pass adds back and the smoothing pass spreads into the glow.
#include "point_disc.cpp"

void main() {
  vec3 light = pointColour.rgb * pointShade(0.6, 0.4);
  gl_FragData[0] = vec4(light, 1.0);
  gl_FragData[1] = vec4(light * pointGlow, 1.0);
}
