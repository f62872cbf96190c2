// particle_step.glsl -- what every particle step shares, included by the
// scenes' compute programs: one invocation per texel of a grid of 16 x 16
// groups, the state buffers and images the draw reads, the inputs the scenes
// hand every step (a program reads those it needs), an integer hash, and the
// pieces of main() that do not change from program to program.
//   buffer 4 / image 0: draw position (xyz), w = brightness of the point
//   buffer 5 / image 1: velocity (xyz), w = age in seconds
//   buffer 6:           the program's own (declared where it is used)
//   image 2:            colour (rgb), a = size of the point
// The includer defines everything else, and a step that keeps a seed in
// buffer 6 gives it a mark of its own: the w a valid seed carries.
layout(local_size_x = 16, local_size_y = 16, local_size_z = 1) in;

layout(std430, binding = 4) buffer DrawPositions { vec4 drawPosition[]; };
layout(std430, binding = 5) buffer Velocities { vec4 velocity[]; };
layout(rgba32f, binding = 0) writeonly uniform image2D PositionImage;
layout(rgba32f, binding = 1) writeonly uniform image2D VelocityImage;
layout(rgba32f, binding = 2) writeonly uniform image2D ColorImage;

uniform float ttime;
uniform float DeltaT;
uniform sampler3D CurlTexture;
uniform float PosY;
uniform float MegaRotate;
uniform mat4 RotationMatrix;
uniform mat4 RotationMatrix3;
uniform sampler2D OriginalPositionTexture;
uniform sampler2D OriginalColorTexture;
uniform sampler2D OriginalPositionTexture_Bird;
uniform sampler2D Swirl_Texture;

uint hash(uint x) {
  x ^= x >> 16; x *= 0x7feb352du;
  x ^= x >> 15; x *= 0x846ca68bu;
  x ^= x >> 16;
  return x;
}

// Three numbers in [0, 1) for particle i, from the hashes of 3 i + first and
// the two after it; each program has a first of its own.
vec3 hash3(uint i, uint first) {
  uint a = hash(i * 3u + first), b = hash(i * 3u + first + 1u), c = hash(i * 3u + first + 2u);
  return vec3(a & 0xffffffu, b & 0xffffffu, c & 0xffffffu) / 16777216.0;
}

// A soft start: 0 up to x = 0, then (x / 2)^2.2 blending into x itself,
// which it follows from x = 3.33 on.
float rampIn(float x) {
  float xp = max(x, 0.0);
  float s = pow(0.5 * xp, 2.2);
  return s + (xp - s) * clamp(0.3 * xp, 0.0, 1.0);
}

// This invocation's particle: its texel of the grid, the grid's size and the
// particle's index. False past the grid's edge, where there is nothing to do.
bool particleAt(out ivec2 texel, out ivec2 size, out uint i) {
  texel = ivec2(gl_GlobalInvocationID.xy);
  size = imageSize(PositionImage);
  if (texel.x >= size.x || texel.y >= size.y) return false;
  i = uint(texel.y * size.x + texel.x);
  return true;
}

// Whether a stored state can be stepped on: its seed s carries the program's
// mark and draw position p and velocity v are in range. Storage starts
// undefined, and a state blown up by a long step is born again too.
bool validState(vec4 s, float mark, vec4 p, vec4 v) {
  return s.w == mark && all(lessThan(abs(p.xyz), vec3(1e4))) && all(lessThan(abs(v.xyz), vec3(1e4)));
}

// A step on a spring: the particle is pulled towards `home` by `spring`
// times the distance, `flow` added; its velocity eases towards that pull at
// `rate` per second, and it moves and ages (v.w) by dt.
void springStep(inout vec4 p, inout vec4 v, vec3 home, float spring, vec3 flow, float rate, float dt) {
  vec3 wanted = (home - p.xyz) * spring + flow;
  v.xyz = mix(v.xyz, wanted, 1.0 - exp(-dt * rate));
  p.xyz += v.xyz * dt;
  v.w += dt;
}

// The step's result: draw position and velocity for the next step and the
// draw, colour (rgb) and point size (a) for the draw alone.
void storeParticle(uint i, ivec2 texel, vec4 p, vec4 v, vec4 look) {
  drawPosition[i] = p;
  velocity[i] = v;
  imageStore(PositionImage, texel, p);
  imageStore(VelocityImage, texel, v);
  imageStore(ColorImage, texel, look);
}
