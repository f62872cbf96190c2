#version 430 compatibility
// The start scene's particle step. Each particle is pulled by a spring
// towards its texel of the obelisk (turned by RotationMatrix) and pushed by
// the curl-noise volume; a slow band of wind climbs the slab and lifts a
// veil of sparks off its faces. Texels that the mesh did not fill become a
// faint dust drifting around it.
// Buffer 6 holds each particle's random numbers (xyz) and a validity mark
// (w): a particle whose mark is wrong (or whose state is not finite) is born
// again from a spread that fits the section time.
#include "particle_step.cpp"

layout(std430, binding = 6) buffer Seeds { vec4 seed[]; };

uniform float alltime;

const float Mark = 1234.5625;  // exactly representable

vec3 random3(uint i) { return hash3(i, 1u); }

vec3 curl(vec3 p, float t) {
  // The volume is twice as tall as it is wide: halve y to keep it isotropic.
  vec3 q = vec3(p.x * 0.085, p.y * 0.0425, p.z * 0.085) + vec3(0.37, 0.5 - t * 0.006, 0.61);
  return texture(CurlTexture, q).xyz;
}

// Where the dust drifts: a loose, turning haze about the slab, densest near
// it and thinning out with distance.
vec3 dustHome(vec3 r, float t) {
  float a = r.x * 6.2831853 + t * (0.04 + 0.05 * r.z);
  float radius = 0.9 + 3.6 * r.y * r.y;
  float y = (r.z - 0.5) * (3.8 + 2.0 * r.y) + 0.25 * sin(t * 0.2 + r.x * 9.0);
  return vec3(cos(a) * radius, y, sin(a) * radius);
}

// The first frames: a flat disc of sparks on the floor early in the section,
// already close to the slab when the section is entered later.
vec3 birth(vec3 target, vec3 r, bool dust, float t) {
  if (dust) return dustHome(r, t);
  float formed = smoothstep(-13.5, -3.0, t);
  float a = r.x * 6.2831853, radius = 0.4 + 3.0 * sqrt(r.y);
  vec3 floorDisc = vec3(cos(a) * radius, -2.2 + 0.15 * r.z, sin(a) * radius);
  vec3 jitter = (r - 0.5) * 0.06;
  return mix(floorDisc, target + jitter, formed);
}

void main() {
  ivec2 texel, size;
  uint i;
  if (!particleAt(texel, size, i)) return;
  float dt = clamp(DeltaT, 0.0, 0.1);

  vec3 original = texelFetch(OriginalPositionTexture, texel, 0).xyz;
  vec3 shade = texelFetch(OriginalColorTexture, texel, 0).rgb;
  bool dust = dot(original, original) == 0.0 && dot(shade, shade) == 0.0;
  vec3 target = (RotationMatrix * vec4(original, 1.0)).xyz;

  vec4 s = seed[i];
  vec4 p = drawPosition[i];
  vec4 v = velocity[i];
  bool valid = validState(s, Mark, p, v);
  if (!valid) {
    s = vec4(random3(i), Mark);
    p = vec4(birth(target, s.xyz, dust, ttime), 0.0);
    v = vec4(0.0);
    seed[i] = s;
  }
  vec3 r = s.xyz;

  // The wind band climbs the slab every 9 s; sparks in it are lifted off.
  float band = fract(ttime / 9.0 + r.x * 0.04) * 7.0 - 3.5;
  float inBand = exp(-pow((original.y - band) * 2.2, 2.0));
  float formed = smoothstep(-13.5, -3.0, ttime);
  float wind = dust ? 0.55 : (0.06 + 1.4 * inBand * r.y * r.y) * (0.4 + 0.6 * formed);
  vec3 flow = curl(p.xyz + r * 0.3, alltime) * wind + vec3(0.0, 0.35 * inBand * r.y, 0.0) * float(!dust);

  vec3 home = dust ? dustHome(r, ttime) : target;
  float spring = dust ? 0.15 : mix(0.35, 2.6, formed) * (0.75 + 0.5 * r.z);
  springStep(p, v, home, spring, flow, 5.0, dt);

  // Brightness: the faces glow, the lifted sparks flare, the dust stays faint.
  float speed = length(v.xyz);
  float height = clamp(original.y / 3.4 + 0.5, 0.0, 1.0);
  vec3 cool = vec3(0.45, 0.62, 1.0), warm = vec3(1.0, 0.78, 0.5);
  vec3 colour = mix(cool, warm, clamp(inBand * 1.3 + height * 0.35, 0.0, 1.0)) * (0.35 + 0.65 * shade.r);
  colour *= 1.0 + 2.5 * inBand * r.y;
  float pointSize = 1.0 + 0.8 * r.z + min(speed, 1.5);
  if (dust) {
    colour = vec3(0.35, 0.45, 0.7) * (0.25 + 0.5 * r.z) * exp(-r.y * r.y * 3.0);
    pointSize = 1.0 + 1.5 * r.y;
  }
  float brightness = dust ? 0.3 : 0.5;
  p.w = brightness;

  storeParticle(i, texel, p, v, vec4(colour, pointSize));
}
