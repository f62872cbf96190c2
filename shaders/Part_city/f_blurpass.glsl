#version 430 compatibility
// The frame to the window, softened by depth around the cloud's distance
// (the camera stands 9.6 units from it): the street close to the lens and
// the far end melt a little, the cloud stays sharp. A light vignette, the
// same the backdrop gets, closes the frame.
uniform sampler2D texture2d_1;      // colour A after the occlusion pass
uniform sampler2D texture2d_random;
uniform sampler2D texture2d_2;      // depth
uniform sampler1D texture1d_dsp;
uniform float Limit;
uniform float time;

const float Near = 0.1, Far = 100.0, Focus = 9.6;

float linearDepth(vec2 uv) {
  float d = texture(texture2d_2, uv).r * 2.0 - 1.0;
  return 2.0 * Near * Far / (Far + Near - d * (Far - Near));
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec2 size = vec2(textureSize(texture2d_1, 0));
  vec2 pixel = 1.0 / size;
  float depth = min(linearDepth(uv), 30.0);
  float blur = clamp(abs(depth - Focus) / Focus - 0.25, 0.0, 1.0) + Limit;
  float radius = min(blur, 2.0) * size.y * 0.004;
  vec3 sum = texture(texture2d_1, uv).rgb;
  float total = 1.0;
  if (radius > 0.6) {
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
