// particle_step.glsl -- what every particle step shares, included by the
// scenes' compute programs: one invocation per texel of a grid of 16 x 16
// groups, the state buffers and images the draw reads, the clock, the curl
// volume, and an integer hash.
//   buffer 4 / image 0: draw position (xyz), w = brightness of the point
//   buffer 5 / image 1: velocity (xyz), w = age in seconds
//   buffer 6:           the program's own (declared where it is used)
//   image 2:            colour (rgb), a = size of the point
layout(local_size_x = 16, local_size_y = 16, local_size_z = 1) in;

layout(std430, binding = 4) buffer DrawPositions { vec4 drawPosition[]; };
layout(std430, binding = 5) buffer Velocities { vec4 velocity[]; };
layout(rgba32f, binding = 0) writeonly uniform image2D PositionImage;
layout(rgba32f, binding = 1) writeonly uniform image2D VelocityImage;
layout(rgba32f, binding = 2) writeonly uniform image2D ColorImage;

uniform float ttime;
uniform float DeltaT;
uniform sampler3D CurlTexture;

uint hash(uint x) {
  x ^= x >> 16; x *= 0x7feb352du;
  x ^= x >> 15; x *= 0x846ca68bu;
  x ^= x >> 16;
  return x;
}
