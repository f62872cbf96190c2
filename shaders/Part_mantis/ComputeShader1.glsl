#version 430 compatibility
// The mantis scene's motes. No point set is loaded, so the cloud is made
// from the particle's index and the curl volume alone; only the first
// 65 535 particles are drawn, the rest are kept parked and dark.
//
// Storyboard (section seconds; the drawing lies in the plane z = 0, x
// stretched by 1.3 on screen, the camera 2 units in front of it):
//   0 ... 3    the motes come out of the dark: a shallow slab of dust
//              around the sheet, x -2 ... 1.7, y -1.5 ... 1.5, mostly
//              behind the paper (z -1.2 ... 0.5), so the lines stay clear.
//   3 ... 27   they rise slowly, each at its own pace, wrapping from the
//              top of the slab to the bottom, stirred by the curl volume;
//              one in twenty is a warmer spark that twinkles.
//   27 ... 54  a slow vortex turns the dust about the drawing's middle
//              (the angle is the integral of the section's MegaRotate
//              rate, so a jump to any time shows the same turn).
//   54 ... 82  the vortex rests; the dust keeps rising.
//   82 ... 90  the dust dims with the glow while the finished drawing
//              stands alone, and returns with it.
// Every position is a function of the index and the section time, so the
// picture is the same whether the section was played or jumped into.
//
// State, one vec4 per particle:
//   buffer 4 / image 0: draw position (xyz), w = brightness
//   buffer 5 / image 1: velocity (xyz) from the last step, w = age
//   buffer 6:           random numbers (xyz), w = validity mark
//   image 2:            colour (rgb), a = point size
#include "particle_step.cpp"

layout(std430, binding = 6) buffer Seeds { vec4 seed[]; };

// No point set is loaded: OriginalPositionTexture and the colour texture are
// texture 0.
uniform sampler2D OriginalPositionTexture_Fish;
uniform sampler1D Original1DTexture;
uniform sampler2D DepthTexture;
uniform sampler2D SplineTexture;

const float Mark = 2718.25;  // exactly representable
const uint Drawn = 65535u;

vec3 random3(uint i) { return hash3(i, 11u); }

float ease(float x) { return 0.5 - 0.5 * cos(3.14159265 * clamp(x, 0.0, 1.0)); }

// The integral of ease(a s) over s from -infinity to x.
float easeIntegral(float x, float a) {
  float y = a * x;
  if (y <= 0.0) return 0.0;
  if (y >= 1.0) return (y - 0.5) / a;
  return 0.5 * (y - sin(3.14159265 * y) / 3.14159265) / a;
}

// The vortex angle: MegaRotate's rate 1.5 (ease(t - 27) - ease(0.5 (t - 52)))
// integrated over the section time.
float vortex(float t) { return 1.5 * (easeIntegral(t - 27.0, 1.0) - easeIntegral(t - 52.0, 0.5)); }

vec3 curl(vec3 p, float t) {
  vec3 q = vec3(p.x * 0.11, p.y * 0.055, p.z * 0.11) + vec3(0.43, 0.5 + t * 0.004, 0.57);
  return texture(CurlTexture, q).xyz;
}

// Where mote r is at time t.
vec3 motePosition(vec3 r, float t) {
  float speed = 0.015 + 0.045 * r.z;
  float y = fract(r.y + t * speed / 3.0) * 3.0 - 1.5;
  float z = -1.2 + 1.7 * pow(fract(r.z * 7.31 + r.x * 3.7), 1.6);
  vec3 home = vec3(-2.0 + 3.7 * r.x, y, z);
  home += curl(home, t) * 0.22;
  // the vortex: strongest near the drawing's middle, gentle at the edges
  vec2 c = home.xy - vec2(0.05, 0.05);
  float a = vortex(t) * 0.06 / (0.35 + length(c));
  float ca = cos(a), sa = sin(a);
  home.xy = vec2(0.05, 0.05) + vec2(ca * c.x - sa * c.y, sa * c.x + ca * c.y);
  return home;
}

void main() {
  ivec2 texel, size;
  uint i;
  if (!particleAt(texel, size, i)) return;

  vec4 s = seed[i];
  if (s.w != Mark) {
    s = vec4(random3(i), Mark);
    seed[i] = s;
  }
  vec3 r = s.xyz;
  if (i >= Drawn) {  // never drawn: parked, dark, cheap
    vec4 parked = vec4(0.0, -50.0, 0.0, 0.0);
    drawPosition[i] = parked;
    imageStore(PositionImage, texel, parked);
    imageStore(VelocityImage, texel, vec4(0.0));
    imageStore(ColorImage, texel, vec4(0.0));
    return;
  }

  float dt = clamp(DeltaT, 0.0, 0.1);
  vec3 p = motePosition(r, ttime);
  vec3 v = (p - motePosition(r, ttime - 0.05)) / 0.05;

  bool spark = hash(i + 777u) % 20u == 0u;
  float twinkle = 0.6 + 0.4 * sin(ttime * (1.5 + 2.0 * r.x) + r.y * 40.0);
  vec3 colour = spark ? vec3(1.0, 0.82, 0.55) * twinkle : mix(vec3(0.42, 0.52, 0.8), vec3(0.7, 0.75, 0.9), r.x);
  float shown = ease(ttime / 3.0) * (1.0 - 0.75 * (ease(0.3 * (ttime - 82.5)) - ease(0.3 * (ttime - 86.5))));
  // nearer the lens means a larger point: keep those few and faint
  float nearLens = smoothstep(-0.2, 0.5, p.z);
  float brightness = (spark ? 0.45 : 0.05 + 0.06 * r.y * r.y) * shown * (1.0 - 0.6 * nearLens);
  float pointSize = spark ? 0.55 : 0.3 + 0.15 * r.z;

  vec4 position = vec4(p, brightness);
  drawPosition[i] = position;
  velocity[i] = vec4(v, velocity[i].w + dt);
  imageStore(PositionImage, texel, position);
  imageStore(VelocityImage, texel, vec4(v, 0.0));
  imageStore(ColorImage, texel, vec4(colour, pointSize));
}
