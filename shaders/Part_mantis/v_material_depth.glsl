#version 430 compatibility
// Depth material: a surface's distance from the eye, for a depth-only
// render of geometry. The mantis scene loads it and draws nothing with it.
out float eyeDistance;

void main() {
  vec4 eye = gl_ModelViewMatrix * gl_Vertex;
  eyeDistance = -eye.z;
  gl_Position = gl_ProjectionMatrix * eye;
}
