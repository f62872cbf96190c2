// The particle simulator on a real (llvmpipe) context: the velocity volume,
// and one step of a test program read back.
#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gfx/particlesim.h"
#include "platform/faults.h"
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

std::vector<unsigned short> volumeTexels(GLuint texture) {
  std::vector<unsigned short> halves(static_cast<size_t>(VelocityFloats));
  glBindTexture(GL_TEXTURE_3D, texture);
  glGetTexImage(GL_TEXTURE_3D, 0, GL_RGB, GL_HALF_FLOAT, halves.data());
  return halves;
}

}  // namespace

// The volume goes up in slabs, exactly as the file holds it; the texture
// repeats mirrored.
TEST_F(simulatorGl, theVelocityVolumeHoldsTheFile) {
  std::vector<float> whole(static_cast<size_t>(VelocityFloats));
  for (size_t i = 0; i < whole.size(); i++) whole[i] = float(int(i % 2001) - 1000) * 0.01f;
  std::string file = dir.write("velocity.dat", std::string(reinterpret_cast<const char*>(whole.data()), VelocityBytes));
  GLuint reference = 0;
  glGenTextures(1, &reference);
  glBindTexture(GL_TEXTURE_3D, reference);
  glTexImage3D(GL_TEXTURE_3D, 0, GL_RGB16F, VelocityWidth, VelocityHeight, VelocityDepth, 0, GL_RGB, GL_FLOAT, whole.data());
  clearFaults();
  logCapture log, err(std::cerr);
  EXPECT_TRUE(sim.loadVelocityVolume(file));
  EXPECT_EQ(log.text() + err.text(), "");
  EXPECT_TRUE(recordedFaults().empty());
  std::vector<unsigned short> got = volumeTexels(sim.curlTexture);
  EXPECT_TRUE(got == volumeTexels(reference));
  EXPECT_NE(got[5], 0);
  GLint wrap = 0;
  glBindTexture(GL_TEXTURE_3D, sim.curlTexture);
  glGetTexParameteriv(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, &wrap);
  EXPECT_EQ(wrap, GL_MIRRORED_REPEAT);
  glDeleteTextures(1, &reference);
  glDeleteTextures(1, &sim.curlTexture);
}

// A volume of the wrong size, or with a number that is not a finite
// velocity a half float can hold, is damage: said with the file's name on
// standard error and in the log, recorded as a fault no run plays over, and
// nothing of it reaches the GPU (the texture is still air).
TEST_F(simulatorGl, aDamagedVelocityVolumeIsAFaultAndGoesUpAsStillAir) {
  std::vector<float> good(size_t(VelocityFloats), 0.5f);
  auto bytes = [](const std::vector<float>& v) { return std::string(reinterpret_cast<const char*>(v.data()), v.size() * 4); };
  auto with = [&](size_t at, float value) {
    std::vector<float> v = good;
    v[at] = value;
    return bytes(v);
  };
  const size_t lastSlab = size_t(VelocityFloats) - 7;  // the last slab: earlier ones already went up
  struct damagedVolume {
    const char* name;
    std::string bytes;  // the file; none written for "missing"
    std::string said;
  };
  std::vector<damagedVolume> cases = {
      {"missing", "", "not found"},
      {"empty", std::string(), "damaged: 0 bytes"},
      {"ends inside a float", bytes(good).substr(0, VelocityBytes - 2), "damaged: " + std::to_string(VelocityBytes - 2) + " bytes"},
      {"a float too long", bytes(good) + std::string(4, '\0'), "a whole volume has " + std::to_string(VelocityBytes)},
      {"NaN first", with(0, std::nanf("")), "value 0 (byte 0)"},
      {"infinite in the last slab", with(lastSlab, INFINITY), "value " + std::to_string(lastSlab)},
      {"past a half float", with(99, 1e6f), "not a finite velocity"},
      {"random bytes", randomBytes(7, size_t(VelocityBytes)), "not a finite velocity"},
  };
  for (const damagedVolume& c : cases) {
    SCOPED_TRACE(c.name);
    std::string file = dir.path(std::string("velocity ") + c.name + ".dat");
    if (std::string(c.name) != "missing") dir.write(std::string("velocity ") + c.name + ".dat", c.bytes);
    clearFaults();
    logCapture log, err(std::cerr);
    EXPECT_FALSE(sim.loadVelocityVolume(file));
    std::string line = "obelisk: velocity volume \"" + file + "\" ";
    EXPECT_EQ(err.text().rfind(line, 0), 0u) << err.text();
    EXPECT_NE(err.text().find(c.said), std::string::npos) << err.text();
    EXPECT_EQ(log.text(), err.text());
    ASSERT_EQ(recordedFaults().size(), 1u);
    EXPECT_EQ(recordedFaults()[0].kind, faultKind::cannotPlay);
    EXPECT_EQ("obelisk: " + recordedFaults()[0].what + "\n", err.text());
    std::vector<unsigned short> texels = volumeTexels(sim.curlTexture);
    EXPECT_EQ(std::count(texels.begin(), texels.end(), 0), long(texels.size()));
    glDeleteTextures(1, &sim.curlTexture);
    std::remove(file.c_str());
  }
  clearFaults();
}

// The state lives from step to step; a missing volume reads as zero
// velocity; the sampler is left bound on its unit.
TEST_F(simulatorGl, aParticleStepCoversTheGridAndSeesItsBindings) {
  std::string file = dir.write("ComputeShader1.cpp", stepSource);
  sim.width = sim.height = 32;
  logCapture log;
  sim.load(file);
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"Computer shader: " + file, ""}));
  {
    logCapture quiet(std::cerr);
    sim.loadVelocityVolume(dir.path("velocity.dat"));  // missing: still air
    clearFaults();
  }
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
