#version 430 compatibility
// The backdrop, blended over the finished frame where the cloud left it
// empty (the depth texture says where): a deep gradient that darkens the
// corners, a faint horizon band that knows where the camera looks, and a
// colour that moves with the story: night blue at the obelisk, violet at the
// strand, sea green while the fish swim, dusk while the birds fly. The band
// trembles with the camera shake.
#include "background_inputs.cpp"

vec3 tint(float t) {
  vec3 night = vec3(0.03, 0.05, 0.12), violet = vec3(0.07, 0.03, 0.12);
  vec3 sea = vec3(0.01, 0.08, 0.1), dusk = vec3(0.13, 0.06, 0.05);
  vec3 c = mix(night, violet, smoothstep(22.0, 30.0, t));
  c = mix(c, sea, smoothstep(62.0, 72.0, t));
  return mix(c, dusk, smoothstep(100.0, 110.0, t));
}

void main() {
  vec2 uv = gl_FragCoord.xy / resolution.xy;
  float depth = texture(texture2d_2, uv).r;
  float empty = smoothstep(0.9995, 1.0, depth);
  vec3 look = normalize(CamDir - CamPos);
  vec2 q = (uv - 0.5) * vec2(1.6, 1.0);
  float elevation = look.y + q.y * 0.8 + CamShake.y * 4.0;
  float band = exp(-abs(elevation + 0.15) * 6.0);
  float shimmer = 0.85 + 0.15 * sin(alltime * 0.4 + q.x * 5.0 + PosY * 0.001 + mouse.x * 0.001);
  vec3 sky = tint(time) * (0.35 + 1.1 * band * shimmer);
  float corners = 1.0 - smoothstep(0.25, 0.95, length(q));
  sky *= corners;
  // a light hand: the glow around the cloud lies in the empty parts too
  const float Cover = 0.35;
  gl_FragColor = vec4(sky / Cover, Cover * empty);
}
