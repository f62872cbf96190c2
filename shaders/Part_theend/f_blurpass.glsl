#version 430 compatibility
// The frame to the window, softened by depth: the word at the focus stays
// sharp, what lies nearer or farther (the ring) melts into soft discs.
// "Limit" widens the blur everywhere. A light vignette closes the frame.
uniform sampler2D texture2d_1;      // colour A after the occlusion pass
uniform sampler2D texture2d_random;
uniform sampler2D texture2d_2;      // depth
uniform sampler1D texture1d_dsp;
uniform float Limit;
uniform float time;

const float Near = 0.1, Far = 100.0;

// The eye closes in on the word from about 12 units to 7 in the first 3 s:
// the focus follows it.
float focusAt(float t) {
  float u = clamp(0.25 * (t + 1.0), 0.0, 1.0);
  return 7.0 + 6.0 * (0.5 + 0.5 * cos(3.14159265 * u));
}

float linearDepth(vec2 uv) {
  float d = texture(texture2d_2, uv).r * 2.0 - 1.0;
  return 2.0 * Near * Far / (Far + Near - d * (Far - Near));
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec2 size = vec2(textureSize(texture2d_1, 0));  // not every scene sets "resolution"
  vec2 pixel = 1.0 / size;
  float depth = min(linearDepth(uv), 30.0);
  float focus = focusAt(time);
  float blur = clamp(abs(depth - focus) / focus * 1.6 - 0.15, 0.0, 1.0) + Limit;
  float radius = min(blur, 2.0) * size.y * 0.006;
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
