#version 430 compatibility
// The glow source, drawn at a quarter of the window size: a wide, soft blur
// of the bright parts of colour A (see glow), which is later added on top
// of the frame, after the sky, which hides it: a texel keeps the share of
// its glow that its pixels let show.
#include "cover.cpp"
#include "glow.cpp"
#include "dusk_sky.cpp"

uniform sampler2D texture2d_1;
uniform float PosY;
uniform float time;

void main() {
  float shown = texelShare(texture2d_1, ivec2(gl_FragCoord.xy), skyRise(time));
  vec3 glow = shown > 0.0 ? glowAt(texture2d_1, gl_TexCoord[0].xy) * shown : vec3(0.0);
  gl_FragColor = vec4(glow, 1.0);
}
