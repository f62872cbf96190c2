#version 430 compatibility
// The frame to the window, softened by depth. The focus follows the cloud:
// it is the nearest depth found on a small cross about the frame's centre,
// where the camera looks. What lies well in front of it melts into soft
// discs, what lies behind blurs a little; the empty sky stays sharp (the
// logo lies there). "Limit" widens the blur everywhere; a light vignette
// closes the frame. The 1-D texture is bound but not read.
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

float focus() {
  float f = 60.0;
  for (int k = -3; k <= 3; ++k) {
    f = min(f, linearDepth(vec2(0.5 + 0.05 * float(k), 0.5)));
    f = min(f, linearDepth(vec2(0.5, 0.5 + 0.07 * float(k))));
  }
  return f < 59.0 ? f : 5.0;
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec2 size = vec2(textureSize(texture2d_1, 0));  // "resolution" is not set here
  vec2 pixel = 1.0 / size;
  float depth = linearDepth(uv);
  float f = focus();
  float blur = depth > 60.0 ? 0.0 : clamp((f - depth) / f * 2.2, 0.0, 1.0) + clamp((depth - f) / f * 0.4, 0.0, 0.4);
  blur += Limit;
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
  float vignette = 1.0 - 0.5 * dot(c, c) * 2.0;
  gl_FragColor = vec4(sum / total * vignette, 1.0);
}
