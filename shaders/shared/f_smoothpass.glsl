#version 430 compatibility
// The glow source, drawn at a quarter of the window size: a wide, soft blur
// of the bright parts of colour A, which is later added on top of the frame.
uniform sampler2D texture2d_1;
uniform float PosY;
uniform float time;

#include "glow_blur.cpp"

void main() {
  gl_FragColor = vec4(glowBlur(texture2d_1, gl_TexCoord[0].xy), 1.0);
}
