// glow.glsl -- the glow, shared by the smoothing pass (f_smoothpass), which
// draws it at a quarter of the window size, and the blur pass (f_blurpass),
// which paints the dusk before the glow is added on top. The dusk hides the
// glow where colour A stayed empty (its alpha is the coverage): every
// quarter-size texel keeps the mean coverage of its 4 x 4 window pixels.
// Drawn at a quarter of the size that share cannot follow the outline pixel
// by pixel, so the blur pass works out what the glow quad will add and
// makes up the difference: no glow spills onto the dusk, none is lost at
// the edges of what covers it. The glow is added at full colour; the cloud
// is lit enough, so its strength here is three quarters, so that the halo
// does not burn it out.

#include "glow_blur.cpp"

// The soft blur of the bright parts of colour A round uv.
vec3 glowAt(sampler2D colour, vec2 uv) { return glowBlur(colour, uv) * 0.75; }

// The share of the glow that shows on a window pixel of colour A: its
// coverage.
float pixelShare(vec4 c) { return clamp(c.a, 0.0, 1.0); }

// The mean share of the window pixels under quarter-size texel q.
float texelShare(sampler2D colour, ivec2 q) {
  ivec2 size = textureSize(colour, 0);
  ivec2 first = clamp(q, ivec2(0), size / 4 - 1) * 4;
  float sum = 0.0;
  for (int k = 0; k < 16; ++k)
    sum += pixelShare(texelFetch(colour, min(first + ivec2(k % 4, k / 4), size - 1), 0));
  return sum / 16.0;
}

// The share the glow quad adds at uv: its four nearest texels' shares,
// filtered as the quad filters the texture.
float quadShare(sampler2D colour, vec2 uv) {
  vec2 at = uv * vec2(textureSize(colour, 0) / 4) - 0.5;
  ivec2 q = ivec2(floor(at));
  vec2 f = at - floor(at);
  float low = mix(texelShare(colour, q), texelShare(colour, q + ivec2(1, 0)), f.x);
  float high = mix(texelShare(colour, q + ivec2(0, 1)), texelShare(colour, q + ivec2(1, 1)), f.x);
  return mix(low, high, f.y);
}
