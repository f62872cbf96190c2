#version 430 compatibility
// The bird is black: in the silhouette pass on white, in the flights over
// the frame. Alpha 1 marks it as drawn, so the sky is not painted over it.
void main() {
  gl_FragData[0] = vec4(0.0, 0.0, 0.0, 1.0);
  gl_FragData[1] = vec4(0.0, 0.0, 0.0, 1.0);
}
