#version 430 compatibility
// Ambient occlusion from the depth texture: eight samples on a disc turned
// by the random texture; nearer neighbours within reach darken the pixel.
// The flaring part (colour B) is added back unoccluded. Sizes come from
// the textures themselves: not every scene sets "resolution".
#include "linear_depth.cpp"
#include "occlusion.cpp"

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec3 colour = texture(texture2d_1, uv).rgb;
  vec3 flare = texture(texture2d_3, uv).rgb;
  float reach = float(textureSize(texture2d_2, 0).y) * 0.018;
  float occlusion = occlusionAt(uv, vec2(Limit), reach, vec4(0.08, 0.2, 0.6, 1.2));
  float ao = 1.0 - 0.35 * occlusion / 8.0;
  gl_FragColor = vec4(colour * ao + flare * 0.5, 1.0);
}
