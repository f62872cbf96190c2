#version 430 compatibility
// Depth material: the eye distance in red, scaled to the lens' far plane.
in float eyeDistance;

void main() { gl_FragColor = vec4(eyeDistance / 100.0, 0.0, 0.0, 1.0); }
