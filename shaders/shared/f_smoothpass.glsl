#version 430 compatibility
// The glow source, drawn at a quarter of the window size: a wide, soft blur
// of the bright parts of colour A, which is later added on top of the frame.
uniform sampler2D texture2d_1;
uniform float PosY;
uniform float time;

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec2 pixel = 1.0 / vec2(textureSize(texture2d_1, 0));
  vec3 sum = vec3(0.0);
  float total = 0.0;
  for (int k = 0; k < 16; ++k) {
    float r = sqrt((float(k) + 0.5) / 16.0);
    float a = float(k) * 2.3999632;
    vec2 offset = vec2(cos(a), sin(a)) * r * 22.0 * pixel;
    float w = exp(-2.0 * r * r);
    vec3 c = texture(texture2d_1, uv + offset).rgb;
    sum += max(c - 0.08, 0.0) * w;
    total += w;
  }
  gl_FragColor = vec4(sum / total * 0.9, 1.0);
}
