#version 430 compatibility
// The city's particle step.
//
// Storyboard (section seconds; the camera stands 9.6 units out on +x and
// looks back at the origin across the street):
//    0 ... 26  the obelisk, upright at the origin (bobbing with most of the
//              look-at point's swing), turning slowly; a band of
//              wind climbs it every 9 s and lifts sparks off its faces while
//              the crowd, the landmarks and the trees pass on either side.
//   26 ... 31  the slab unwinds into a vortex, texel by texel, and the
//              sparks wind in again as a curled-up baby, a fifth taller than
//              as its mesh, floating a little above the street.
//   31 ... 60  the baby turns and breathes. From 42 s it climbs after the
//              look-at point (cloudCentre, below), so that the narrow lens of
//              46.5 s and the rising look-at point of 54 ... 64 s keep it in
//              the middle of the frame.
//   60 ... 66  the vortex again, back into the obelisk (three quarters of
//              its first size, to fit the last zoom), still high up.
//   66 ... 76  the obelisk in the last slow zoom; the wind band grows and the
//              sparks stream upward off it until the hand-over.
// The target of every particle is a function of ttime and its texel only, so
// a jump to any moment shows the right shape on the first frames.
//
// State, one vec4 per particle:
//   buffer 4 / image 0: draw position (xyz), w = brightness (0: not drawn)
//   buffer 5 / image 1: velocity (xyz), w = age in seconds
//   buffer 6:           per-particle random numbers (xyz), w = validity mark
//   image 2:            colour (rgb), a = size of the point
#include "particle_step.cpp"

layout(std430, binding = 6) buffer Seeds { vec4 seed[]; };

// OriginalPositionTexture holds the obelisk, OriginalColorTexture its
// shading; OriginalPositionTexture_Bird the baby.
uniform float alltime;
uniform sampler2D OriginalPositionTextureAnimal;  // obelisk
uniform sampler1D Original1DTexture;

const float Mark = 2345.5625;  // exactly representable
const float BabyScale = 1.2;
const vec3 BabyLift = vec3(0.0, -0.45, 0.0);

vec3 random3(uint i) { return hash3(i, 11u); }

float ease(float x) { return (1.0 - cos(3.14159265 * clamp(x, 0.0, 1.0))) * 0.5; }

// Kept in step with cloudCentre() and babyMix() of the scene's time script.
float lookHeight(float t) {
  return sin(0.22 * t) + 2.2 - 0.48 * rampIn(0.5 * (t - 54.0)) + 0.6 * rampIn(0.5 * (t - 50.0));
}
vec3 cloudCentre(float t) {
  float look = lookHeight(t);
  return vec3(0.0, mix(0.8 * (look - 2.2), look - 0.3, ease((t - 42.0) / 4.0)), 0.0);
}
float babyMix(float t) { return ease((t - 26.0) / 5.0) - ease((t - 60.0) / 6.0); }
// The obelisk comes back at three quarters of its size, to fit the last zoom.
float obeliskScale(float t) { return 1.0 - 0.25 * ease((t - 40.0) / 4.0); }

vec3 curl(vec3 p, float t) {
  vec3 q = vec3(p.x * 0.085, p.y * 0.0425, p.z * 0.085) + vec3(0.37, 0.5 - t * 0.006, 0.61);
  return texture(CurlTexture, q).xyz;
}

// A shape's point for this texel; texels past the shape's point count (the
// sampler leaves them zero) borrow a filled texel 40 % of the grid earlier,
// slightly jittered, so that no particle is left without a place.
vec3 shapePoint(sampler2D shape, ivec2 texel, ivec2 size, vec3 r) {
  vec3 p = texelFetch(shape, texel, 0).xyz;
  if (dot(p, p) == 0.0) {
    int i = texel.y * size.x + texel.x - (size.x * size.y * 2) / 5;
    p = texelFetch(shape, ivec2(i % size.x, i / size.x), 0).xyz + (r - 0.5) * 0.02;
  }
  return p;
}

// How far this particle is from the obelisk to the baby: the change sweeps
// through the cloud, each particle in its own second.
float ownMix(float m, vec3 r) { return smoothstep(0.0, 1.0, clamp(m * 1.6 - r.x * 0.6, 0.0, 1.0)); }

vec3 target(vec3 obeliskPoint, vec3 babyPoint, vec3 r, float t) {
  float m = ownMix(babyMix(t), r);
  vec3 shape = mix(obeliskPoint * obeliskScale(t), babyPoint * BabyScale + BabyLift, m);
  // Half way, the particle is flung onto one of three spiral arms that
  // wind up round the cloud's axis.
  float swirl = sin(3.14159265 * m);
  float arm = floor(fract(r.y * 7.0) * 3.0) * 2.0943951;
  float turn = arm + shape.y * 1.4 + t * 1.3 + (r.z - 0.5) * 0.6;
  float radius = 0.45 + 0.9 * r.z;
  vec3 helix = vec3(cos(turn) * radius, shape.y * 1.15 + (r.y - 0.5) * 0.3, sin(turn) * radius);
  vec3 swirled = mix(shape, helix, swirl);
  return (RotationMatrix * vec4(swirled, 1.0)).xyz + cloudCentre(t);
}

void main() {
  ivec2 texel, size;
  uint i;
  if (!particleAt(texel, size, i)) return;
  float dt = clamp(DeltaT, 0.0, 0.1);

  vec4 s = seed[i];
  vec4 p = drawPosition[i];
  vec4 v = velocity[i];
  bool valid = validState(s, Mark, p, v);
  if (!valid) s = vec4(random3(i), Mark);
  vec3 r = s.xyz;

  vec3 obeliskPoint = shapePoint(OriginalPositionTexture, texel, size, r);
  vec3 babyPoint = shapePoint(OriginalPositionTexture_Bird, texel, size, r);
  vec3 shade = texelFetch(OriginalColorTexture, texel, 0).rgb;
  vec3 home = target(obeliskPoint, babyPoint, r, ttime);

  if (!valid) {
    p = vec4(home + (r - 0.5) * 0.03, 0.0);
    v = vec4(0.0);
    seed[i] = s;
  }

  // The wind band climbs the shape every 9 s; sparks in it are lifted off.
  // It blows harder at the end.
  float m = babyMix(ttime);
  vec3 local = mix(obeliskPoint * obeliskScale(ttime), babyPoint * BabyScale + BabyLift, ownMix(m, r));
  float band = fract(ttime / 9.0 + r.x * 0.04) * 7.0 - 3.5;
  float inBand = exp(-pow((local.y - band) * 2.2, 2.0));
  float finale = ease((ttime - 70.0) / 5.0);
  float gust = (0.06 + (1.2 + 1.5 * finale) * inBand * r.y * r.y);
  vec3 flow = curl(p.xyz + r * 0.3, alltime) * gust + vec3(0.0, (0.3 + 0.5 * finale) * inBand * r.y, 0.0);

  float spring = 2.6 * (0.75 + 0.5 * r.z);
  springStep(p, v, home, spring, flow, 5.0, dt);

  // Light: a warm slab lit from the low sun behind it, brighter up its
  // edges; lifted sparks flare white-gold.
  float speed = length(v.xyz);
  float height = clamp(local.y / 3.4 + 0.5, 0.0, 1.0);
  vec3 ember = vec3(1.0, 0.62, 0.34), pale = vec3(1.0, 0.93, 0.8), cool = vec3(0.75, 0.82, 1.0);
  // A grain of brighter and dimmer sparks gives the surface its texture.
  float lit = 0.5 + 0.35 * (m > 0.5 ? 0.6 : shade.r) + 0.25 * (r.z * r.z - 0.33);
  vec3 colour = mix(ember, pale, clamp(height * 0.7 + inBand, 0.0, 1.0)) * lit * 0.92;
  colour = mix(colour, cool * 0.8, 0.3 * sin(3.14159265 * ownMix(m, r)));
  colour *= 1.0 + 0.8 * inBand * r.y;
  float pointSize = 1.1 + 0.7 * r.z + 0.3 * min(speed, 1.5);
  p.w = 0.5;

  storeParticle(i, texel, p, v, vec4(colour, pointSize));
}
