#version 430 compatibility
// The frame to the window with a depth of field that focuses itself: the
// focus is the depth found round the middle of the picture (the cloud the
// camera looks at), what lies nearer or farther melts into soft discs.
// Pixels that hold no depth (empty, or the flights over empty sky) stay
// sharp. "Limit" widens the blur everywhere. A light vignette closes it.
uniform sampler2D texture2d_1;      // colour A after the occlusion pass
uniform sampler2D texture2d_random;
uniform sampler2D texture2d_2;      // depth
uniform sampler1D texture1d_dsp;
uniform float Limit;
uniform float time;

const float Near = 0.1, Far = 100.0;

float linearDepth(vec2 uv) {
  float d = texture(texture2d_2, uv).r * 2.0 - 1.0;
  return 2.0 * Near * Far / (Far + Near - d * (Far - Near));
}

float focusDepth() {
  float sum = 0.0, n = 0.0;
  for (int k = 0; k < 9; ++k) {
    vec2 at = vec2(0.5) + (vec2(float(k % 3), float(k / 3)) - 1.0) * vec2(0.08, 0.12);
    float d = linearDepth(at);
    if (d < 60.0) {
      sum += d;
      n += 1.0;
    }
  }
  return n > 0.0 ? sum / n : 5.0;
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec2 size = vec2(textureSize(texture2d_1, 0));
  vec2 pixel = 1.0 / size;
  float depth = linearDepth(uv);
  float focus = focusDepth();
  float blur = depth < 60.0 ? clamp(abs(depth - focus) / focus * 1.4 - 0.08, 0.0, 1.0) : 0.0;
  float radius = min(blur + Limit, 2.0) * size.y * 0.005;
  vec3 sum = texture(texture2d_1, uv).rgb;
  float total = 1.0;
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
  float vignette = 1.0 - 0.45 * dot(c, c) * 2.0;
  gl_FragColor = vec4(sum / total * vignette, 1.0);
}
