#version 430 compatibility
// A dusk sky, drawn over the finished frame wherever colour A was left
// uncovered (its alpha, written by the occlusion pass, says how much was):
// the flights beyond the cloud read against it, the black birds as
// silhouettes, the white statues against its deeper blue. It rises from
// 40 s while the camera turns toward the flights. The depth is not read:
// the flights write none.
#include "background_inputs.cpp"

void main() {
  vec2 uv = gl_FragCoord.xy / max(resolution.xy, vec2(1.0));
  vec4 drawn = texture(texture2d_1, uv);
  float rise = smoothstep(40.0, 48.0, time);
  vec3 ahead = normalize(CamDir - CamPos);
  vec3 side = normalize(cross(ahead, vec3(0.0, 1.0, 0.0)));
  vec3 up = cross(side, ahead);
  vec2 p = (uv - 0.5) * 2.0 * vec2(1.6, 1.0) * 0.41421;  // the 45 degree lens
  vec3 look = normalize(ahead + side * p.x + up * (p.y + PosY * 0.001));
  float h = look.y + 0.04;
  vec3 zenith = vec3(0.13, 0.17, 0.3), horizon = vec3(0.58, 0.47, 0.4), ground = vec3(0.16, 0.13, 0.14);
  vec3 sky = h > 0.0 ? mix(horizon, zenith, smoothstep(0.0, 0.45, h)) : mix(horizon, ground, smoothstep(0.0, 0.25, -h));
  vec3 sun = normalize(vec3(1.0, 0.06, -0.35));
  sky += vec3(0.35, 0.24, 0.12) * pow(max(dot(look, sun), 0.0), 12.0);
  sky *= 0.92 + 0.08 * sin(time * 0.2 + uv.x * 3.0 + mouse.x * 0.01);
  // The frame under it is about colour A: adding colour A back keeps the
  // light of what was drawn, so faint points sparkle on the sky instead of
  // dimming it, while the birds (covering, black) stay black.
  gl_FragColor = vec4(sky + drawn.rgb, rise * (1.0 - drawn.a));
}
