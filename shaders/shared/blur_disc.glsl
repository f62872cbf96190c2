// blur_disc.glsl -- the end of every depth blur pass (f_blurpass): the other
// inputs the pass binds, and softened(), which draws colour A to the window
// through a disc blur under a light vignette. The includer works out how
// much each pixel is blurred (mostly from the depth: see linear_depth).
uniform sampler2D texture2d_1;      // colour A after the occlusion pass
uniform sampler2D texture2d_random;
uniform sampler1D texture1d_dsp;    // bound by the pass, read by none
uniform float Limit;                // widens the blur everywhere
uniform float time;

// Colour A at uv, averaged over a disc of `amount` x `reach` window heights:
// ten taps on a golden-angle spiral turned by the random texture, taken only
// where that radius is more than `least` pixels. `edge` darkens the corners.
vec4 softened(vec2 uv, float amount, float reach, float least, float edge) {
  vec2 size = vec2(textureSize(texture2d_1, 0));  // not every scene sets "resolution"
  vec2 pixel = 1.0 / size;
  float radius = amount * size.y * reach;
  vec3 sum = texture(texture2d_1, uv).rgb;
  float total = 1.0;
  if (radius > least) {
    float turn = texture(texture2d_random, gl_FragCoord.xy / 1024.0).r * 6.2831853;
    for (int k = 0; k < 10; ++k) {
      float r = sqrt((float(k) + 0.5) / 10.0) * radius;
      float a = turn + float(k) * 2.3999632;
      sum += texture(texture2d_1, uv + vec2(cos(a), sin(a)) * r * pixel).rgb;
      total += 1.0;
    }
  }
  vec2 c = uv - 0.5;
  float vignette = 1.0 - edge * dot(c, c) * 2.0;
  return vec4(sum / total * vignette, 1.0);
}
