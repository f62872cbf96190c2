#version 430 compatibility
// The frame to the window: the drawing stays sharp (it is the focus of the
// whole scene); "Limit" softens it for authoring. A light vignette.
uniform sampler2D texture2d_1;      // colour A after the occlusion pass
uniform sampler2D texture2d_random;
uniform sampler2D texture2d_2;      // depth
uniform sampler1D texture1d_dsp;
uniform float Limit;
uniform float time;

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec2 size = vec2(textureSize(texture2d_1, 0));
  vec2 pixel = 1.0 / size;
  vec3 sum = texture(texture2d_1, uv).rgb;
  float total = 1.0;
  float radius = clamp(Limit, 0.0, 2.0) * size.y * 0.006;
  if (radius > 0.5) {
    float turn = texture(texture2d_random, gl_FragCoord.xy / 1024.0).r * 6.2831853;
    for (int k = 0; k < 10; ++k) {
      float r = sqrt((float(k) + 0.5) / 10.0) * radius;
      float a = turn + float(k) * 2.3999632;
      sum += texture(texture2d_1, uv + vec2(cos(a), sin(a)) * r * pixel).rgb;
      total += 1.0;
    }
  }
  vec2 c = uv - 0.5;
  float vignette = 1.0 - 0.5 * dot(c, c) * 2.0;
  gl_FragColor = vec4(sum / total * vignette, 1.0);
}
