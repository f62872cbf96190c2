#version 430 compatibility
// The swing swarm (35.5 ... 60 s): a swing hanging beside the DNA strand,
// its bar at BarAt along x. Three particles in four swing with
// "RotationMatrix", the fourth with "RotationMatrix2", half a radian ahead:
// a fainter echo of the seat. From 49.5 s the swarm folds into the logo
// mark, turned to face the camera, and from 54.5 s back into the swing; it
// sparkles in from 35.5 s and out again before 60 s (position w carries that
// fade, the draw shows a particle once the fade passes its threshold).
//
// State as in the main cloud's program: buffer 4 / image 0 position (w the
// fade), buffer 5 / image 1 velocity, buffer 6 seeds with a validity mark,
// image 2 colour (a = size). Storage starts undefined; particles without
// the mark are born at their place for the current time.
#include "particle_step.cpp"

layout(std430, binding = 6) buffer Seeds { vec4 seed[]; };

// OriginalPositionTexture holds the swing, OriginalColorTexture its shading.
uniform mat4 RotationMatrix2;
uniform sampler2D OriginalPositionTextureLogo;  // the logo mark

const float Mark = 2718.28125;  // exactly representable
const vec3 BarAt = vec3(0.9, 2.45, -1.9);
const vec3 LogoAt = vec3(-0.4, 0.8, -2.2);

vec3 random3(uint i) { return hash3(i, 5u); }

vec3 pointOf(sampler2D shape, ivec2 texel, uint i, ivec2 size) {
  vec3 p = texelFetch(shape, texel, 0).xyz;
  if (dot(p, p) > 0.0) return p;
  uint j = hash(i + 31u) % uint(size.x * size.y / 2);
  return texelFetch(shape, ivec2(int(j) % size.x, int(j) / size.x), 0).xyz;
}

void main() {
  ivec2 texel, size;
  uint i;
  if (!particleAt(texel, size, i)) return;
  float dt = clamp(DeltaT, 0.0, 0.1);
  float t = ttime;

  vec4 s = seed[i];
  vec4 p = drawPosition[i];
  vec4 v = velocity[i];
  bool valid = validState(s, Mark, p, v);
  if (!valid) s = vec4(random3(i), Mark);
  vec3 r = s.xyz;

  bool echo = (i % 4u) == 3u;
  vec3 swing = pointOf(OriginalPositionTexture, texel, i, size);
  float shade = texelFetch(OriginalColorTexture, texel, 0).r;
  vec3 hung = ((echo ? RotationMatrix2 : RotationMatrix) * vec4(swing, 1.0)).xyz + BarAt;
  vec3 logo = pointOf(OriginalPositionTextureLogo, texel, i, size);
  logo = vec3(logo.z, logo.y, -logo.x) * 0.7 + LogoAt;  // faces +x, toward the camera
  float toLogo = smoothstep(49.5 + r.x, 51.0 + r.x, t) * (1.0 - smoothstep(54.5 + r.x, 56.5 + r.x, t));
  float lift = sin(3.14159265 * toLogo);
  vec3 target = mix(hung, logo, toLogo);
  target += texture(CurlTexture, target * 0.15 + vec3(0.2, 0.3 - t * 0.01, 0.4)).xyz * lift * 0.8;
  float fade = smoothstep(35.5, 37.5 + r.y, t) * (1.0 - smoothstep(57.0 + 1.5 * r.y, 59.8, t));

  if (!valid) {
    p = vec4(target, 0.0);
    v = vec4(0.0);
    seed[i] = s;
  }
  vec3 before = p.xyz;
  p.xyz = mix(p.xyz, target, 1.0 - exp(-dt * (6.0 + 4.0 * r.z)));
  v.xyz = dt > 0.0 ? (p.xyz - before) / dt : vec3(0.0);
  v.w += dt;
  p.w = fade;

  vec3 warm = vec3(1.0, 0.72, 0.42) * (0.45 + 0.45 * shade);
  vec3 mark = vec3(1.0, 0.9, 0.75) * 0.75;
  vec3 colour = mix(warm, mark, toLogo);
  if (echo) colour *= vec3(0.55, 0.6, 0.8);
  float pointSize = 0.8 + 0.5 * r.z;
  storeParticle(i, texel, p, v, vec4(colour, pointSize));
}
