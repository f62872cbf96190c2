#version 430 compatibility
// The material program's fragments: the current colour lit from above.
uniform float ttime;
in vec3 normal;

void main() {
  float light = 0.35 + 0.65 * max(normalize(normal).y, 0.0);
  gl_FragColor = vec4(gl_Color.rgb * light, 1.0);
}
