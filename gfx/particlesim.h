// particlesim.h -- the GPU particle simulator: one compute program, three
// shader storage buffers (bindings 4, 5, 6), three RGBA32F images (image
// units 0, 1, 2) and the shared curl volume on texture unit 3. The state
// never leaves the GPU; buffer 0 doubles as the vertex array of the point
// draw, image 0 and image 2 are sampled by it as "PositionTexture" and
// "ColorTexture".
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include "gfx/glnames.h"

// The velocity volume: 128 x 256 x 128 texels of three floats, x fastest.
constexpr int VelocityWidth = 128, VelocityHeight = 256, VelocityDepth = 128;
constexpr long VelocityFloats = long(VelocityWidth) * VelocityHeight * VelocityDepth * 3;
constexpr long VelocityBytes = VelocityFloats * 4;
constexpr float HalfFloatMax = 65504.0f;  // the largest finite value of the volume's texels

// One texture the compute program samples: its uniform, the unit, the GL
// texture and its target (2-D unless given).
struct samplerBinding {
  const char* uniform;
  int unit;
  GLuint texture;
  GLenum target = 0x0DE1;  // GL_TEXTURE_2D
};

class particlesim {
public:
  GLuint program = 0;
  GLuint curlTexture = 0;  // shared: sections copy the start simulator's name
  GLuint buffer0 = 0, buffer1 = 0, buffer2 = 0;
  GLuint image0 = 0, image2 = 0, image1 = 0;
  int width = 0, height = 0;  // set by the section before load; square grids

  bool stored = false;  // the buffers and images have their (zeroed) storage

  // Compiles the compute program and creates the buffers and images; their
  // storage is made, zeroed, by the first step.
  void load(const std::string& computeFile);
  // Makes the program current, sets "ttime" and "DeltaT", binds buffers,
  // the curl volume and the images.
  void beginStep(float time, float step);
  // Binds a texture on unit `unit` and points the sampler uniform at it; the
  // unit stays active.
  void bindSampler(GLenum target, int unit, const std::string& name, GLuint texture);
  // The bindings in their order; a unit bound twice keeps the later texture.
  void bindSamplers(std::initializer_list<samplerBinding> samplers);
  // One simulation step over the grid, fenced by storage barriers.
  void dispatch();
  // Reads the velocity volume (headerless little-endian floats) into a new
  // RGB16F 3-D texture in curlTexture. A file that is missing, not exactly
  // VelocityBytes long, or holds a value that is not finite or past what a
  // half float holds is said on standard error and in the log, recorded as
  // a fault that ends the run, and goes up as zero: false then.
  bool loadVelocityVolume(const std::string& fileName);
  // Width x height x 16 bytes for each buffer, RGBA32F images of the grid.
  void makeStorage();

  // Work groups per axis: 16 x 16 invocations each, the width alone decides
  // (rounded down, so a grid that is no multiple of 16 loses its last rows).
  static int groupCount(int width) { return width / 16; }
};

