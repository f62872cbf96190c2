#version 430 compatibility
// Ambient occlusion from the depth texture: eight samples on a disc (made
// round by "aspect") turned by the random texture; nearer neighbours within
// reach darken the pixel. The glowing part (colour B) is added back. Alpha
// passes on how much of the pixel is covered (bright points, the statues,
// the birds): the sky is painted by it later.
#include "linear_depth.cpp"

uniform float aspect;

// The disc's radius is a part of the picture's height, not pixels.
#define OCCLUSION_OFFSET(a, r) (vec2(cos(a) / max(aspect, 0.1), sin(a)) * (r))
#include "occlusion.cpp"

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec4 drawn = texture(texture2d_1, uv);
  vec3 flare = texture(texture2d_3, uv).rgb;
  float occlusion = occlusionAt(uv, vec2(Limit), 0.018, vec4(0.04, 0.15, 0.5, 1.0));
  float ao = 1.0 - 0.4 * occlusion / 8.0;
  gl_FragColor = vec4(drawn.rgb * ao + flare * 0.35, drawn.a);
}
