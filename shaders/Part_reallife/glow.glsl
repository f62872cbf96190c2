// glow.glsl -- the glow, shared by the smoothing pass (f_smoothpass), which
// draws it at a quarter of the window size, and the blur pass (f_blurpass),
// which paints the sky before the glow is added on top. The sky hides the
// glow (see cover; include cover first): every quarter-size texel keeps the
// mean share of its glow that its 4 x 4 window pixels let show. Drawn at a
// quarter of the size that share cannot follow the sky's outline pixel by
// pixel, so the blur pass works out what the glow quad will add and makes
// up the difference: no glow spills onto the sky, none is lost at the
// edges of what covers it.

#include "glow_blur.cpp"

// The soft blur of the bright parts of colour A round uv.
vec3 glowAt(sampler2D colour, vec2 uv) { return glowBlur(colour, uv); }

// The share of the glow that shows on a window pixel of colour A.
float pixelShare(vec4 c, float rise) { return glowShare(c.a, rise); }

// The mean share of the window pixels under quarter-size texel q.
float texelShare(sampler2D colour, ivec2 q, float rise) {
  ivec2 size = textureSize(colour, 0);
  ivec2 first = clamp(q, ivec2(0), size / 4 - 1) * 4;
  float sum = 0.0;
  for (int k = 0; k < 16; ++k)
    sum += pixelShare(texelFetch(colour, min(first + ivec2(k % 4, k / 4), size - 1), 0), rise);
  return sum / 16.0;
}

// The share the glow quad adds at uv: its four nearest texels' shares,
// filtered as the quad filters the texture.
float quadShare(sampler2D colour, vec2 uv, float rise) {
  vec2 at = uv * vec2(textureSize(colour, 0) / 4) - 0.5;
  ivec2 q = ivec2(floor(at));
  vec2 f = at - floor(at);
  float low = mix(texelShare(colour, q, rise), texelShare(colour, q + ivec2(1, 0), rise), f.x);
  float high = mix(texelShare(colour, q + ivec2(0, 1), rise), texelShare(colour, q + ivec2(1, 1), rise), f.x);
  return mix(low, high, f.y);
}
