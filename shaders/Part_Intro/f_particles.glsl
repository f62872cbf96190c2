#version 430 compatibility
// A round point, a little brighter at its core. Colour A gets the light,
// colour B the part of it that flares, which the occlusion pass adds back
// and the smoothing pass spreads into the glow. Shared by the main cloud
// and the swing swarm.
#include "point_disc.cpp"

void main() {
  vec3 light = pointColour.rgb * pointShade(0.65, 0.35);
  gl_FragData[0] = vec4(light, 1.0);
  gl_FragData[1] = vec4(light * pointGlow * 0.5, 1.0);
}
