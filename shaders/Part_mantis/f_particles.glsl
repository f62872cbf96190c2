#version 430 compatibility
// A soft round mote. Colour B gets a little more of it: the occlusion pass
// adds the difference back as a faint flare.
in vec4 pointColour;

void main() {
  vec2 d = gl_PointCoord * 2.0 - 1.0;
  float r2 = dot(d, d);
  if (r2 > 1.0) discard;
  vec3 light = pointColour.rgb * (1.0 - 0.6 * r2);
  gl_FragData[0] = vec4(light, 1.0);
  gl_FragData[1] = vec4(light * 1.6, 1.0);
}
