#version 430 compatibility
// A round point. Colour A gets its light and full coverage in alpha (the
// backdrop is painted only where colour A stays empty); colour B the part
// of it that flares, which the occlusion pass adds back.
in vec4 pointColour;
in float pointGlow;

void main() {
  vec2 d = gl_PointCoord * 2.0 - 1.0;
  float r2 = dot(d, d);
  if (r2 > 1.0) discard;
  vec3 light = pointColour.rgb * (0.8 + 0.2 * (1.0 - r2));
  gl_FragData[0] = vec4(light, 1.0);
  gl_FragData[1] = vec4(light * pointGlow, 1.0);
}
