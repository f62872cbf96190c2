#version 430 compatibility
// The end scene's particle step: the maker's name, and a faint ring about
// it (the mark of the logo) from the texels the word leaves empty.
//
// Storyboard (section seconds; the word lies across the origin, about 4
// units wide and 0.75 high, facing +z; the eye closes in from 12 units to 7
// in the first 3 s, circles from 4 s, rises from 8 s, narrows its lens
// between 9 and 12.3 s):
//   0 ... 0.85 the sparks of a wide, turning swirl gather into the letters;
//              at 1 s the word is readable.
//   0.85 ... 13 the word holds; a warm band of light sweeps across it from
//              left to right every 6.5 s; the ring gathers behind it.
//   13 ... 20  the word turns after the eye (its yaw follows the camera's
//              circle beyond 0.65 rad) so it never goes edge-on and stays
//              readable, seen obliquely, while the eye rises above it.
//   15 ... 19  the upper edges shed a few sparks that rise on the curl wind.
//   19 ... 20  everything fades to black: the production ends on black.
// Targets are functions of ttime and the particle index, and a particle
// born late (storage starts undefined) is placed at its target for that
// time, so a jump to any moment shows the right picture at once.
//
// State, one vec4 per particle:
//   buffer 4 / image 0: draw position (xyz), w = brightness (< 0.25: the ring)
//   buffer 5 / image 1: velocity (xyz), w = age in seconds
//   buffer 6:           random numbers (xyz), w = validity mark
//   image 2:            colour (rgb), a = size of the point
#include "particle_step.cpp"

layout(std430, binding = 6) buffer Seeds { vec4 seed[]; };

const float Mark = 4321.125;  // exactly representable
const float Pi = 3.14159265;

vec3 random3(uint i) { return hash3(i, 5u); }

float ease(float x) { return 0.5 - 0.5 * cos(Pi * clamp(x, 0.0, 1.0)); }

// The word's yaw: it follows the camera's circle beyond 0.65 rad.
float yaw(float t) { return max(0.6 * rampIn(0.2 * (t - 4.0)) - 0.65, 0.0); }

vec3 turned(vec3 p, float a) {
  float c = cos(a), s = sin(a);
  return vec3(c * p.x + s * p.z, p.y, -s * p.x + c * p.z);
}

vec3 curl(vec3 p, float t) {
  vec3 q = vec3(p.x * 0.085, p.y * 0.0425, p.z * 0.085) + vec3(0.29, 0.45 - t * 0.006, 0.66);
  return texture(CurlTexture, q).xyz;
}

// The mark behind the word: a thin ring, slowly gathering.
vec3 ringHome(vec3 r, float t) {
  float a = r.x * 2.0 * Pi + 0.05 * t;
  float radius = 2.55 + 0.06 * (r.y - 0.5);
  return vec3(cos(a) * radius, sin(a) * radius * 0.92, -0.5 + 0.08 * (r.z - 0.5));
}

// The swirl the sparks gather from: a wide disc facing the eye, turning.
vec3 swirl(vec3 r, float t) {
  float radius = 1.2 + 4.5 * sqrt(r.y);
  float a = r.x * 2.0 * Pi + t * 2.5 / (0.5 + 0.3 * radius);
  return vec3(cos(a) * radius, sin(a) * radius * 0.62, (r.z - 0.5) * 0.8);
}

float formedAt(float t) { return smoothstep(0.0, 0.85, t); }

// Where a particle is at time t while the word gathers: on its way in from
// the swirl, closing in with the cube of the time left (fast, then settling).
vec3 birth(vec3 target, vec3 r, float t) {
  float left = 1.0 - formedAt(t);
  return target + (swirl(r, t) - target) * left * left * left;
}

void main() {
  ivec2 texel, size;
  uint i;
  if (!particleAt(texel, size, i)) return;
  float dt = clamp(DeltaT, 0.0, 0.1);
  float t = ttime;

  vec3 original = texelFetch(OriginalPositionTexture, texel, 0).xyz;
  vec3 shade = texelFetch(OriginalColorTexture, texel, 0).rgb;
  bool ring = dot(original, original) == 0.0 && dot(shade, shade) == 0.0;

  vec4 s = seed[i];
  vec4 p = drawPosition[i];
  vec4 v = velocity[i];
  bool valid = validState(s, Mark, p, v);
  vec3 r = valid ? s.xyz : random3(i);
  float a = yaw(t);
  vec3 target = turned(ring ? ringHome(r, t) : original, a);
  if (!valid) {
    s = vec4(r, Mark);
    p = vec4(birth(target, r, t), 0.0);
    v = vec4(0.0);
    seed[i] = s;
  }

  float formed = formedAt(t);
  // Late on, the upper edges shed a few sparks that rise on the wind.
  float shed = smoothstep(15.0, 19.0, t) * step(0.93, r.y) * smoothstep(0.0, 0.3, original.y);
  vec3 flow = curl(p.xyz + r * 0.3, t) * (0.05 + 1.5 * shed + 0.6 * (1.0 - formed));
  flow += vec3(0.0, 0.6 * shed, 0.0);
  vec3 home = target + vec3(0.0, shed * (1.0 + r.z) * (t - 15.0) * 0.3, 0.0);
  float spring = ring ? 1.2 : mix(3.0, 8.0, formed) * (0.8 + 0.4 * r.z);
  // While the word gathers the particles ride their path in, not a spring.
  if (!ring && formed < 1.0) {
    vec3 onPath = birth(target, r, t);
    p.xyz = mix(p.xyz, onPath, 1.0 - formed * formed);
  }
  springStep(p, v, home, spring, flow, 6.0, dt);

  // Light: a cool white word, a warm band sweeping across it; the ring
  // faint and blue; all of it fading to black over the last second.
  float fade = 1.0 - ease(t - 19.0);
  float sweepX = mod(t, 6.5) / 6.5 * 7.0 - 3.5;
  float band = exp(-pow((original.x - sweepX) * 1.6, 2.0));
  vec3 cool = vec3(0.62, 0.74, 1.0), warm = vec3(1.0, 0.8, 0.52);
  vec3 colour = mix(cool, warm, band * 0.8) * (0.45 + 0.55 * shade.r) * (1.0 + 0.6 * band);
  float pointSize = 1.0 + 0.6 * r.z + min(length(v.xyz) * 0.5, 1.0);
  float brightness = 0.32;
  if (ring) {
    float gathered = smoothstep(1.0, 5.0, t);
    colour = vec3(0.3, 0.45, 0.9) * (0.5 + 0.5 * r.z) * gathered;
    pointSize = 0.8;
    brightness = 0.2;
  }
  colour *= fade;
  p.w = brightness;

  storeParticle(i, texel, p, v, vec4(colour, pointSize));
}
