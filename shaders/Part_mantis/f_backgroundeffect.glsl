#version 430 compatibility
// Drawn over the finished frame with alpha blending: a faint warm sheen
// where the sheet is empty and a light grain, like a dark paper under the
// lines. Its alpha stays below 0.1, so the picture always shows through.
#include "background_inputs.cpp"

float grain(vec2 p) { return fract(sin(dot(p, vec2(12.9898, 78.233))) * 43758.5453); }

void main() {
  vec2 uv = gl_FragCoord.xy / max(resolution.xy, vec2(1.0));
  vec3 lit = texture(texture2d_1, uv).rgb;
  float empty = 1.0 - clamp(max(lit.r, max(lit.g, lit.b)) * 3.0, 0.0, 1.0);
  // the light falls from the upper left, where the head is drawn first
  vec2 fromLight = (uv - vec2(0.3, 0.75)) * vec2(1.6, 1.0);
  float sheen = exp(-dot(fromLight, fromLight) * 1.4);
  vec3 paper = vec3(0.16, 0.12, 0.09) * (0.5 + sheen) + (grain(floor(gl_FragCoord.xy) + floor(time * 12.0)) - 0.5) * 0.08;
  gl_FragColor = vec4(paper, 0.09 * empty);
}
