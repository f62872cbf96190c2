// The particle simulator on a real (llvmpipe) context: the velocity volume,
// and one step of a test program read back.
#include <GL/glew.h>

#include <cstring>

#include "gfx/particlesim.h"
#include "tests/support/glcontext.h"
#include "tests/support/testfiles.h"

namespace {

class simulatorGl : public glTest {
protected:
  scratchDir dir;
  particlesim sim;
};

// A test program, not a production one: it writes what it was given into
// every particle so that the step's bindings can be read back.
const char* stepSource = R"(#version 430
layout(local_size_x = 16, local_size_y = 16, local_size_z = 1) in;
layout(std430, binding = 4) buffer state0 { vec4 p0[]; };
layout(std430, binding = 5) buffer state1 { vec4 p1[]; };
layout(std430, binding = 6) buffer state2 { vec4 p2[]; };
layout(rgba32f, binding = 0) writeonly uniform image2D image0;
uniform float ttime;
uniform float DeltaT;
uniform sampler3D CurlTexture;
uniform sampler2D OriginalPositionTexture;
void main() {
  ivec2 g = ivec2(gl_GlobalInvocationID.xy);
  uint i = gl_GlobalInvocationID.y * gl_NumWorkGroups.x * 16u + gl_GlobalInvocationID.x;
  p0[i] = vec4(float(g.x), float(g.y), ttime, DeltaT);
  p1[i] = p1[i] + vec4(1.0);
  p2[i] = vec4(texture(CurlTexture, vec3(0.5)).xyz, texelFetch(OriginalPositionTexture, ivec2(0), 0).x);
  imageStore(image0, g, vec4(float(i), 0.0, 0.0, 1.0));
}
)";

}  // namespace

// The volume goes up in slabs; a short file reads as zero from where it ends.
TEST_F(simulatorGl, theVelocityVolumeHoldsTheFileAndZeroPastItsEnd) {
  std::vector<float> head(size_t(VelocityWidth) * VelocityHeight * 12 * 3), whole(size_t(VelocityFloats), 0.0f);
  for (size_t i = 0; i < head.size(); i++) head[i] = float(int(i % 2001) - 1000) * 0.01f;
  std::string bytes(reinterpret_cast<const char*>(head.data()), head.size() * 4 - 2);  // ends inside a float
  std::string file = dir.write("velocity.dat", bytes);
  std::memcpy(whole.data(), bytes.data(), bytes.size());  // the file's bytes, zero past them
  GLuint reference = 0;
  glGenTextures(1, &reference);
  glBindTexture(GL_TEXTURE_3D, reference);
  glTexImage3D(GL_TEXTURE_3D, 0, GL_RGB16F, VelocityWidth, VelocityHeight, VelocityDepth, 0, GL_RGB, GL_FLOAT, whole.data());
  sim.loadVelocityVolume(file);
  std::vector<unsigned short> expected(static_cast<size_t>(VelocityFloats)), got(expected.size());
  glGetTexImage(GL_TEXTURE_3D, 0, GL_RGB, GL_HALF_FLOAT, expected.data());
  glBindTexture(GL_TEXTURE_3D, sim.curlTexture);
  glGetTexImage(GL_TEXTURE_3D, 0, GL_RGB, GL_HALF_FLOAT, got.data());
  EXPECT_TRUE(got == expected);
  EXPECT_TRUE(got[5] != 0 && got[head.size()] == 0);
  GLint wrap = 0;
  glGetTexParameteriv(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, &wrap);
  EXPECT_EQ(wrap, GL_MIRRORED_REPEAT);
  glDeleteTextures(1, &reference);
  glDeleteTextures(1, &sim.curlTexture);
}

// The state lives from step to step; a missing volume reads as zero
// velocity and logs nothing; the sampler is left bound on its unit.
TEST_F(simulatorGl, aParticleStepCoversTheGridAndSeesItsBindings) {
  std::string file = dir.write("ComputeShader1.cpp", stepSource);
  sim.width = sim.height = 32;
  logCapture log;
  sim.load(file);
  sim.loadVelocityVolume(dir.path("velocity.dat"));
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"Computer shader: " + file, ""}));
  GLuint target = 0;
  const float seven[4] = {7, 7, 7, 1};
  glGenTextures(1, &target);
  glBindTexture(GL_TEXTURE_2D, target);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, seven);
  EXPECT_FALSE(sim.stored);
  for (int step = 0; step < 2; step++) {
    sim.beginStep(2.5f, 0.125f);
    sim.bindSampler(GL_TEXTURE_2D, 7, "OriginalPositionTexture", target);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE7);
    sim.dispatch();
  }
  glMemoryBarrier(GL_ALL_BARRIER_BITS);
  auto buffer = [](GLuint b) {
    std::vector<float> state(32 * 32 * 4);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, b);
    glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, state.size() * 4, state.data());
    return state;
  };
  std::vector<float> p0 = buffer(sim.buffer0), p1 = buffer(sim.buffer1), p2 = buffer(sim.buffer2), image(32 * 32 * 4);
  for (int i = 0; i < 32 * 32; i++)
    ASSERT_EQ(std::vector<float>(&p0[i * 4], &p0[i * 4 + 4]), (std::vector<float>{float(i % 32), float(i / 32), 2.5f, 0.125f}))
        << "particle " << i;
  EXPECT_EQ(p1[1023 * 4], 2.0f);
  EXPECT_EQ((std::vector<float>{p2[517 * 4], p2[517 * 4 + 3]}), (std::vector<float>{0, 7}));
  glBindTexture(GL_TEXTURE_2D, sim.image0);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, image.data());
  EXPECT_EQ(image[1000 * 4], 1000.0f);
  EXPECT_EQ(particlesim::groupCount(1000), 62);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
