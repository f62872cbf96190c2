#version 430 compatibility
// The material program: made current once a frame with "ttime" and released;
// nothing is drawn with it. A plain lit transform, should it ever be.
uniform float ttime;
out vec3 normal;

void main() {
  normal = gl_NormalMatrix * gl_Normal;
  gl_Position = ftransform();
}
