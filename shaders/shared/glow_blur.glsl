// glow_blur.glsl -- the glow every smoothing pass (f_smoothpass) draws at a
// quarter of the window size: a wide, soft blur of the bright parts of
// colour A round uv.
vec3 glowBlur(sampler2D colour, vec2 uv) {
  vec2 pixel = 1.0 / vec2(textureSize(colour, 0));
  vec3 sum = vec3(0.0);
  float total = 0.0;
  for (int k = 0; k < 16; ++k) {
    float r = sqrt((float(k) + 0.5) / 16.0);
    float a = float(k) * 2.3999632;
    vec2 offset = vec2(cos(a), sin(a)) * r * 22.0 * pixel;
    float w = exp(-2.0 * r * r);
    vec3 c = texture(colour, uv + offset).rgb;
    sum += max(c - 0.08, 0.0) * w;
    total += w;
  }
  return sum / total * 0.9;
}
