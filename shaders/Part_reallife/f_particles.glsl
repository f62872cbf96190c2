#version 430 compatibility
// A round point. Colour A gets its light, and in alpha whether it covers
// what lies behind: the bird's points do; the sky painted later is added
// under the others (embers, dust, shell). Colour B gets what glows.
in vec4 pointColour;
in float pointGlow;

void main() {
  vec2 d = gl_PointCoord * 2.0 - 1.0;
  float r2 = dot(d, d);
  if (r2 > 1.0) discard;
  vec3 light = pointColour.rgb * (0.7 + 0.3 * (1.0 - r2));
  gl_FragData[0] = vec4(light, pointColour.a);
  gl_FragData[1] = vec4(light * pointGlow, 1.0);
}
