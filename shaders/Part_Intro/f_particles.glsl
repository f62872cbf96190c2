#version 430 compatibility
// A round point, a little brighter at its core. Colour A gets the light,
// colour B the part of it that flares, which the occlusion pass adds back
// and the smoothing pass spreads into the glow. Shared by the main cloud
// and the swing swarm.
in vec4 pointColour;
in float pointGlow;

void main() {
  vec2 d = gl_PointCoord * 2.0 - 1.0;
  float r2 = dot(d, d);
  if (r2 > 1.0) discard;
  vec3 light = pointColour.rgb * (0.65 + 0.35 * (1.0 - r2));
  gl_FragData[0] = vec4(light, 1.0);
  gl_FragData[1] = vec4(light * pointGlow * 0.5, 1.0);
}
