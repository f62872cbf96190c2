#version 430 compatibility
// The intro's particle step. Every particle has a place in each of four
// sampled shapes (obelisk, DNA strand, fish school, bird flock); the shape
// of the moment is a function of the section clock, the morphs between
// shapes are whirls that every particle enters a little earlier or later,
// and the whole cloud travels with the point the camera looks at.
//
// Storyboard (section seconds; "look-at" is the camera's keyed look-at point)
//
//   t          shape                                   cloud                  camera
//   0 - 18     obelisk, turned 1.5 rad, sparks climb   origin                 slow orbit, r 5.5
//   18.2 - 21  burst: the slab spins up and bursts     origin                 shake burst, roll
//   21 - 29    the shards whirl into the DNA strand    origin
//   29 - 57    DNA spinning about its axis; 30 - 45 a  origin, rising to      40 - 46.7 moves to
//              ring of sparks tumbles about it (R3)    the look-at (y 1)      (4, 2, 1)
//   (35.5-60   the swing swarm hangs beside it: its own program)
//   57 - 64    the strand tumbles with R               sinks 0.1/s with the   58: descends with it
//                                                      look-at                 75: zoom to 21 deg
//   63 - 70    whirl into the fish school
//   70 - 101   fish swimming, the school turning       look-at                82 orbit r 4, 90.8 zoom
//                                                                             93.4 orbit above
//   101 - 108  whirl into the bird flock                                      103 up tilted
//   108 - 151  birds flapping; R4 turns the flock      look-at y, 0.8 of its  111 to the -x side,
//              twice (138 - 151)                       z (117 - 151)          117 crane, 132/139 z
//   151 - 171  the flock splits into four flocks       flocks fly along +z at 151 drop to y -6.9,
//              strung along +z                         0.6 of the camera's    dive along z
//                                                      speed: they slide by
//
// State, one vec4 per particle:
//   buffer 4 / image 0: draw position (xyz), w = the part of its light that flares
//   buffer 5 / image 1: velocity (xyz), w = age in seconds
//   buffer 6:           per-particle random numbers (xyz), w = validity mark
//   image 2:            colour (rgb), a = size of the point
// Storage starts undefined: a particle whose mark is wrong (or whose state is
// not finite) is born at its place for the current time, so a jump to any
// moment shows that moment's picture on its first frame.
#include "particle_step.cpp"

layout(std430, binding = 6) buffer Seeds { vec4 seed[]; };

// RotationMatrix is the main turn (it spins up at 18 and tumbles after 57),
// RotationMatrix3 a fast tumble (the spark ring); OriginalPositionTexture
// holds the obelisk, OriginalColorTexture its shading, and
// OriginalPositionTexture_Bird the bird flock.
uniform float alltime;
uniform mat4 RotationMatrix4;  // the flock's late turn
uniform sampler2D OriginalPositionTexture_Obelisk;  // DNA strand
uniform sampler2D OriginalPositionTexture_Fish;

const float Mark = 4321.8125;  // exactly representable
const float Pi = 3.14159265;

vec3 random3(uint i) { return hash3(i, 11u); }

float ease(float x) { return 0.5 - 0.5 * cos(Pi * clamp(x, 0.0, 1.0)); }

mat3 turnY(float a) {
  float c = cos(a), s = sin(a);
  return mat3(c, 0.0, -s, 0.0, 1.0, 0.0, s, 0.0, c);
}

vec3 curl(vec3 p, float t) {
  vec3 q = vec3(p.x * 0.11, p.y * 0.055, p.z * 0.11) + vec3(0.31, 0.5 - t * 0.004, 0.67);
  return texture(CurlTexture, q).xyz;
}

// ---- where the camera looks (its keyed look-at point, without the shake) --------------

vec2 towards(vec2 v, vec2 target, float k) { return v + (target - v) * k; }

// (y, z) of the look-at point, the camera's moves in their order.
vec2 lookAt(float t) {
  float y58 = -0.1 * (t - 58.0);
  vec2 c = vec2(0.3, 0.0);
  c = towards(c, vec2(1.0, 0.0), ease(0.15 * (t - 40.0)));
  c = towards(c, vec2(y58, 0.0), ease(0.3 * (t - 58.0)));
  c = towards(c, vec2(y58, 0.0), ease(0.2 * (t - 82.0)));
  c = towards(c, vec2(1.0 + y58, 0.0), ease(0.25 * (t - 93.4)));
  c = towards(c, vec2(1.0 + y58, 0.0), ease(0.25 * (t - 111.0)));
  c = towards(c, vec2(1.5 + y58, 0.5 + 0.2 * rampIn(0.5 * (t - 120.0))), ease(0.25 * (t - 117.0)));
  c = towards(c, vec2(1.5 + y58, 3.9), ease(0.4 * (t - 132.0)));
  c = towards(c, vec2(1.5 + y58, 0.5), ease(0.3 * (t - 139.0)));
  float dive = 2.0 * (t - 152.0) + 1.0 - 1.3 * rampIn(t - 167.0);
  c = towards(c, vec2(-6.9, dive + 0.5), ease(0.3 * (t - 151.0)));
  return c;
}

// The cloud's centre: at the look-at point's height; along z it follows
// only part of the way (0.8, in the dive 0.6), so the camera's travels along
// z still read as travel.
vec3 cloudCentre(float t) {
  vec2 c = lookAt(t);
  return vec3(0.0, c.x, c.y * mix(0.8, 0.6, smoothstep(151.0, 155.0, t)));
}

// ---- the shapes ---------------------------------------------------------------------

// A texel of a shape; texels past the sampled points (zero) borrow a point
// from the filled front of the grid, so every particle has a place.
vec3 shapePoint(sampler2D shape, ivec2 texel, uint i, ivec2 size) {
  vec3 p = texelFetch(shape, texel, 0).xyz;
  if (dot(p, p) > 0.0) return p;
  uint j = hash(i + 977u) % uint(size.x * size.y / 2);
  return texelFetch(shape, ivec2(int(j) % size.x, int(j) / size.x), 0).xyz;
}

// The fish of the school (centres, as the generator laid them out, at the
// sampler's 0.75 scale); a body bends with a wave running to the tail.
const vec3 FishAt[6] = vec3[6](vec3(1.3875, 0.3, 0.075), vec3(0.0375, 0.7125, 0.5625),
                               vec3(0.3, -0.2625, -0.675), vec3(1.3313, -0.6, 0.525),
                               vec3(-0.5813, 0.1125, -0.075), vec3(0.5625, -0.9375, -0.1125));
const vec3 BirdAt[6] = vec3[6](vec3(0.675, 0.45, 0.15), vec3(-0.6, 0.825, -0.675),
                               vec3(-0.225, -0.15, 0.75), vec3(1.05, -0.675, -0.45),
                               vec3(-1.125, -0.45, 0.225), vec3(0.075, -1.05, -0.9));

int nearest(vec3 p, const vec3 at[6]) {
  int best = 0;
  float d = 1e9;
  for (int k = 0; k < 6; ++k) {
    float e = dot(p - at[k], p - at[k]);
    if (e < d) { d = e; best = k; }
  }
  return best;
}

vec3 swim(vec3 p, float t) {
  int k = nearest(p, FishAt);
  float along = FishAt[k].x + 0.5 - p.x;  // 0 at the nose, about 1 at the tail
  float phase = float(k) * 1.7;
  p.z += 0.09 * along * along * sin(7.0 * along - 7.5 * t + phase);
  p.y += 0.05 * sin(0.9 * t + phase);
  return turnY(0.22 * (t - 62.0)) * (p - vec3(0.5, -0.1, 0.05));  // about the school's middle
}

vec3 flap(vec3 p, float t) {
  int k = nearest(p, BirdAt);
  vec3 q = p - BirdAt[k];
  float span = max(abs(q.z) - 0.06, 0.0);
  float beat = sin(5.5 * t + float(k) * 2.1);
  q.y += span * (0.55 * beat + 0.1);
  q.z *= 1.0 - 0.12 * span * abs(beat);
  q.y += 0.06 * sin(5.5 * t + float(k) * 2.1 - 1.2);  // the body rides the beat
  return BirdAt[k] + q + vec3(0.025, 0.175 + 0.08 * sin(0.7 * t + float(k)), 0.15);  // about the flock's middle
}

// A whirl between two shapes: half-way the particles run on a spinning
// funnel, narrow below and wide above, then settle into the new shape;
// m is this particle's progress (0 ... 1).
vec3 whirl(vec3 a, vec3 b, float m, vec3 r, float t) {
  float s = sin(Pi * m);
  vec3 p = mix(a, b, smoothstep(0.0, 1.0, m));
  float y = p.y + s * (r.y - 0.5) * 0.8;
  float funnel = (0.2 + 0.3 * clamp(y + 1.8, 0.0, 4.0)) * (0.85 + 0.3 * r.z);
  float angle = atan(p.z, p.x) + s * (2.0 + 1.2 * y + 1.5 * t);
  float radius = mix(length(p.xz), funnel, 0.85 * s);
  vec3 q = vec3(cos(angle) * radius, y, sin(angle) * radius);
  return q + curl(q * 3.0, t) * s * 0.15;
}

// Progress of a morph from t0 to t1 for this particle (entered up to 2 s apart).
float progress(float t, float t0, float t1, float r) {
  return clamp((t - t0 - 2.0 * r) / (t1 - t0 - 2.0), 0.0, 1.0);
}

// ---- the frame's place of a particle -------------------------------------------------

struct place {
  vec3 at;
  vec3 colour;
  float size;
  float glow;  // part of the light that flares (colour B)
};

const vec3 Slab = vec3(0.5, 0.66, 1.0), SlabTop = vec3(1.0, 0.8, 0.55), Spark = vec3(1.0, 0.62, 0.3);

place shapePlace(ivec2 texel, uint i, ivec2 size, vec3 r, float t) {
  place q;
  q.glow = 0.4;
  q.size = 1.0 + 0.6 * r.z;
  float toDna = progress(t, 20.5, 29.0, r.x);
  float toFish = progress(t, 63.0, 70.0, r.x);
  float toBird = progress(t, 101.0, 108.0, r.x);

  if (toDna < 1.0) {  // obelisk: 0 ... 29
    vec3 o = shapePoint(OriginalPositionTexture, texel, i, size);
    float shade = texelFetch(OriginalColorTexture, texel, 0).r;
    vec3 slab = (RotationMatrix * vec4(o, 1.0)).xyz;
    // the wind band climbs the slab every 9 s and lifts sparks off its faces
    float band = fract(t / 9.0 + r.x * 0.04) * 6.0 - 3.0;
    float inBand = exp(-pow((o.y - band) * 2.2, 2.0));
    if (inBand * r.y > 0.01) slab += curl(slab * 2.0 + r, alltime) * inBand * r.y * r.y * 0.5;
    // the burst: thrown out from 18.2, falling back as the whirl takes it
    float burst = smoothstep(18.2, 18.7, t) * (1.0 - smoothstep(19.5, 24.0, t));
    // the slab puffs up; a few particles in a hundred are flung far (more
    // would cover the whole frame: the nearest point wins its pixel)
    float flung = smoothstep(0.975, 1.0, r.y);
    vec3 out3 = normalize(slab + (r - 0.5) * 0.6) * (0.25 * (0.5 + r.z) + 3.0 * flung * r.z);
    if (burst > 0.0) slab += (out3 + curl(slab * 1.5, t) * (0.08 + 0.5 * flung)) * burst;
    vec3 strand = turnY(-0.1 + 0.9 * (t - 21.0)) * shapePoint(OriginalPositionTexture_Obelisk, texel, i, size);
    q.at = whirl(slab, strand, toDna, r, t);
    float height = clamp(o.y / 3.4 + 0.5, 0.0, 1.0);
    vec3 c = mix(Slab, SlabTop, clamp(inBand * 1.3 + height * 0.3, 0.0, 1.0)) * (0.5 + 0.5 * shade);
    c = mix(c, Spark * 1.2, clamp(burst * (0.25 + flung), 0.0, 1.0));
    c *= 1.0 + 0.3 * inBand * r.y;
    q.colour = c;
    q.glow = 0.4 + 0.9 * burst * flung + 0.4 * inBand * r.y;
    q.size -= 0.5 * burst * flung;
    if (toDna <= 0.0) return q;
  }
  // DNA: 21 ... 70, spinning about its axis; after 57 it follows R's tumble
  vec3 d = shapePoint(OriginalPositionTexture_Obelisk, texel, i, size);
  float spin = -0.1 + 0.9 * (t - 21.0) - 0.5 * max(t - 29.0, 0.0);
  vec3 strand = turnY(spin) * d;
  if (t > 57.0) strand = (RotationMatrix * vec4(strand, 1.0)).xyz;
  float twist = atan(d.z, d.x) / (2.0 * Pi) + d.y * 0.25;
  vec3 dnaColour = mix(vec3(0.3, 0.85, 1.0), vec3(0.85, 0.45, 1.0), 0.5 + 0.5 * sin(twist * 6.2831853 + t * 0.4));
  dnaColour *= 0.75 + 0.5 * r.z;
  if (toDna < 1.0) {  // still whirling in: the slab's colours turn to the strand's
    q.colour = mix(q.colour, dnaColour, smoothstep(0.3, 1.0, toDna)) * (1.0 - 0.35 * sin(Pi * toDna));
    return q;
  }
  if (toFish <= 0.0) {
    q.at = strand;
    q.colour = dnaColour;
    q.glow = 0.5 + 0.8 * pow(r.y, 6.0);
    return q;
  }
  // fish: 63 ... 108
  vec3 f = swim(shapePoint(OriginalPositionTexture_Fish, texel, i, size), t);
  float stripe = 0.5 + 0.5 * sin(f.y * 40.0 + f.x * 6.0);
  vec3 fishColour = mix(vec3(0.35, 0.75, 0.95), vec3(0.85, 0.95, 1.0), stripe) * (0.7 + 0.5 * r.z);
  if (toFish < 1.0) {
    q.at = whirl(strand, f, toFish, r, t);
    q.colour = mix(dnaColour, fishColour, toFish) * (1.0 - 0.35 * sin(Pi * toFish));
    q.glow = 0.5 + 0.6 * sin(Pi * toFish);
    return q;
  }
  if (toBird <= 0.0) {
    q.at = f;
    q.colour = fishColour;
    q.glow = 0.45 + 0.8 * stripe * r.y;
    return q;
  }
  // birds: 101 ... 171, turned twice by R4
  vec3 b = flap(shapePoint(OriginalPositionTexture_Bird, texel, i, size), t);
  b = (RotationMatrix4 * vec4(b, 1.0)).xyz;
  float warm = clamp(0.5 + b.y * 0.3, 0.0, 1.0);
  vec3 birdColour = mix(vec3(1.0, 0.6, 0.35), vec3(1.0, 0.92, 0.75), warm) * (0.75 + 0.45 * r.z);
  q.at = whirl(f, b, toBird, r, t);
  q.colour = mix(fishColour, birdColour, toBird) * (1.0 - 0.35 * sin(Pi * toBird));
  q.glow = 0.5 + 0.5 * r.y;
  return q;
}

// One of the four flocks of the dive: the first stays, the others fly ahead
// and spread along +z; all fly at 0.6 of the camera's speed (cloudCentre).
vec3 flockOffset(uint i, float t) {
  float k = float(i % 4u);
  float spread = smoothstep(150.0, 156.0, t);
  return vec3(0.4 * sin(k * 2.3), 0.5 * sin(k * 1.7 + 0.5 * t), 4.5 * k) * spread;
}

// The sparks: one particle in 400 leaves the shape for a tumbling ring.
vec3 sparkRing(vec3 r, float t) {
  float a = r.x * 6.2831853 + t * (0.2 + 0.3 * r.y);
  float radius = 1.8 + 0.9 * r.y * r.y;
  vec3 ring = vec3(cos(a) * radius, (r.z - 0.5) * (0.15 + 0.5 * r.y), sin(a) * radius);
  return (RotationMatrix3 * vec4(ring, 1.0)).xyz;
}

// The cloud's centre is the same for every particle: one invocation of each
// work group works it out for all of them.
shared vec3 groupCentre;

void main() {
  if (gl_LocalInvocationIndex == 0u) groupCentre = cloudCentre(ttime);
  barrier();
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

  place q = shapePlace(texel, i, size, r, t);
  // sparks: a ring about the strand, 30 ... 45 (before the camera flies through it)
  bool spark = (i % 400u) == 7u;
  float ring = spark ? smoothstep(30.0, 33.0, t) * (1.0 - smoothstep(42.0, 45.0, t)) : 0.0;
  if (ring > 0.0) {
    q.at = mix(q.at, sparkRing(r, t), ring);
    q.colour = mix(q.colour, vec3(1.0, 0.85, 0.6) * 0.9, ring);
    q.size = mix(q.size, 1.0, ring);
    q.glow = mix(q.glow, 0.9, ring);
  }
  vec3 target = q.at + groupCentre;
  if (t > 150.0) target += flockOffset(i, t);

  if (!valid) {
    p = vec4(target, 1.0);
    v = vec4(0.0);
    seed[i] = s;
  }
  // each particle closes on its place at its own pace
  float pace = 4.0 + 5.0 * r.z;
  vec3 before = p.xyz;
  p.xyz = mix(p.xyz, target, 1.0 - exp(-dt * pace));
  v.xyz = dt > 0.0 ? (p.xyz - before) / dt : vec3(0.0);
  v.w += dt;

  float speed = length(v.xyz);
  p.w = q.glow;
  vec3 colour = q.colour;
  float pointSize = q.size + min(speed * 0.3, 0.8);
  storeParticle(i, texel, p, v, vec4(colour, pointSize));
}
