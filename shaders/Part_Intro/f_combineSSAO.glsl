#version 430 compatibility
// Ambient occlusion from the depth texture (eight samples on a disc turned
// by the random texture; nearer neighbours within reach darken the pixel),
// the flaring part (colour B) added back, and a short smear along the way
// the shake moved the picture this frame ("RelX"), so the burst at 18 s
// tears the frame. Sizes come from the textures; "aspect" (W / H) keeps the
// smear's direction true on any window.
#include "linear_depth.cpp"
#include "occlusion.cpp"

uniform float aspect;
uniform vec3 RelX;

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec2 size = vec2(textureSize(texture2d_2, 0));
  vec2 pixel = 1.0 / size;
  // the shake's move, in pixels; a few pixels at the most
  vec2 moved = clamp(RelX.xy * vec2(1.0, aspect) * size.y * 0.6, vec2(-12.0), vec2(12.0));
  vec3 colour = vec3(0.0);
  for (int k = 0; k < 4; ++k) colour += texture(texture2d_1, uv - moved * pixel * float(k) / 3.0).rgb;
  colour *= 0.25;
  vec3 flare = texture(texture2d_3, uv).rgb;
  float occlusion = occlusionAt(uv, vec2(Limit), size.y * 0.016, vec4(0.05, 0.15, 0.5, 1.0));
  float ao = 1.0 - 0.4 * occlusion / 8.0;
  gl_FragColor = vec4(colour * ao + flare * 0.4, 1.0);
}
