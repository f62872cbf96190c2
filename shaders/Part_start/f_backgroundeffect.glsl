#version 430 compatibility
// A night sky behind the scenes: a faint horizon glow under the camera and
// a slow shimmer. The start scene makes it current without drawing with it.
#include "background_inputs.cpp"

void main() {
  vec2 uv = gl_FragCoord.xy / resolution.xy;
  vec3 look = normalize(CamDir - CamPos + vec3((uv - 0.5) * vec2(1.6, 1.0), 0.0));
  float horizon = exp(-abs(look.y + 0.05 + PosY * 0.001) * 9.0);
  float shimmer = 0.5 + 0.5 * sin(time * 0.3 + uv.x * 6.0 + mouse.x * 0.01);
  vec3 sky = mix(vec3(0.0, 0.01, 0.03), vec3(0.08, 0.1, 0.18), horizon) * (0.8 + 0.2 * shimmer);
  gl_FragColor = vec4(sky, 1.0);
}
