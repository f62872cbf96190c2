#version 430 compatibility
// Ambient occlusion from the depth texture: eight samples on a disc turned
// by the random texture; nearer neighbours within reach darken the pixel.
// The flaring part (colour B) is added back unoccluded. Colour A's alpha,
// its coverage, is kept: the backdrop is painted where it is zero. RelX,
// how far the shake moved the picture since the last frame, turns the
// sample disc with it so the grain does not crawl.
#include "linear_depth.cpp"
#include "occlusion.cpp"

uniform vec3 RelX;

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec4 colour = texture(texture2d_1, uv);
  vec3 flare = texture(texture2d_3, uv).rgb;
  float reach = float(textureSize(texture2d_2, 0).y) * 0.014;
  float occlusion = colour.a > 0.0 ? occlusionAt(uv, RelX.xy * 0.01, reach, vec4(0.08, 0.2, 0.6, 1.2)) : 0.0;
  float ao = 1.0 - 0.3 * occlusion / 8.0;
  gl_FragColor = vec4(colour.rgb * ao + flare * 0.4, colour.a);
}
