// Textures, mesh point set uploads and the particle simulator on a real
// (llvmpipe) context. Read-backs exist only here; the program never reads back.
#include <GL/glew.h>

#include <memory>

#include "gfx/rendercontext.h"
#include "gfx/tgobject.h"
#include "tests/support/testfiles.h"
#include "tests/support/glcontext.h"

namespace {

class textureGl : public glTest {
protected:
  scratchDir dir;
  std::unique_ptr<rendercontext> context = std::make_unique<rendercontext>();
};

std::vector<unsigned char> readBytes(GLuint texture, GLenum format, int width, int height, int size) {
  std::vector<unsigned char> pixels(size_t(width) * height * size);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  return pixels;
}

GLint level0(GLenum target, GLenum name) {
  GLint value = 0;
  glGetTexLevelParameteriv(target, 0, name, &value);
  return value;
}

std::vector<double> progressCalls;
void recordProgress(double amount) { progressCalls.push_back(amount); }

}  // namespace

TEST_F(textureGl, aJpegsFirstRowLandsAtTheTopOfTheTexture) {
  std::vector<unsigned char> rgb(6 * 16 * 3);  // 6 wide: rows are not 4-byte aligned
  for (int i = 0; i < 6 * 16; i++) rgb[i * 3 + (i < 6 * 8 ? 0 : 2)] = 255;  // top red, bottom blue
  std::string file = dir.path("redblue.jpg");
  writeJpeg(file, 6, 16, 3, rgb);
  context->progress = recordProgress;
  progressCalls.clear();
  context->textures[9] = 12345;  // whatever the slot held is replaced
  logCapture log;
  context->loadJpg(file.c_str(), 9);
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"Load texture jpg: " + file}));
  EXPECT_EQ(progressCalls, (std::vector<double>{0.1}));
  ASSERT_NE(context->textures[9], 12345u);
  std::vector<unsigned char> pixels = readBytes(context->textures[9], GL_RGB, 6, 16, 3);
  const unsigned char* top = &pixels[15 * 6 * 3];  // t = 1
  EXPECT_GT(top[0], 200);
  EXPECT_LT(top[2], 40);
  EXPECT_GT(pixels[5 * 3 + 2], 200);  // bottom row, last column: blue
  EXPECT_LT(pixels[5 * 3 + 0], 40);
  GLint filter = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
  EXPECT_EQ(filter, GL_LINEAR);
}

TEST_F(textureGl, anRgbaJpegPairTakesAlphaFromGreenAboveATransparentBottomRow) {
  std::vector<unsigned char> colour(8 * 8 * 3, 0), alpha(8 * 8 * 3, 0);
  for (int i = 0; i < 64; i++) {
    colour[i * 3] = 255;                       // red everywhere
    alpha[i * 3 + 1] = i < 32 ? 0 : 255;        // green: top half 0, bottom half 255
  }
  std::string colourFile = dir.path("c.jpg"), alphaFile = dir.path("a.jpg");
  writeJpeg(colourFile, 8, 8, 3, colour);
  writeJpeg(alphaFile, 8, 8, 3, alpha);
  logCapture log;
  context->loadJpgRgba(colourFile.c_str(), alphaFile.c_str(), 44);
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"Load texture jpgrgba: " + colourFile + ", " + alphaFile}));
  std::vector<unsigned char> pixels = readBytes(context->textures[44], GL_RGBA, 8, 8, 4);
  for (int x = 0; x < 8; x++) {
    EXPECT_EQ(pixels[x * 4 + 0] + pixels[x * 4 + 3], 0);  // bottom row transparent black
    EXPECT_GT(pixels[(8 + x) * 4 + 3], 200);               // the alpha file's bottom row
    EXPECT_GT(pixels[(8 + x) * 4 + 0], 200);
    EXPECT_LT(pixels[(56 + x) * 4 + 3], 40);               // the alpha file's top row
  }
}

TEST_F(textureGl, theRandomTextureIsReproducibleAndSlotsAreOffsetByTheBase) {
  context->textureBase = 100;  // every operation adds the base to the slot
  context->createRandomTexture(27, 10, 6);
  ASSERT_EQ(context->textures[27], 0u);
  std::vector<unsigned char> expected;
  fillRandomTextureBytes(10, 6, expected);
  EXPECT_EQ(readBytes(context->textures[127], GL_RGB, 10, 6, 3), expected);
  context->textureBase = 0;
  // The 1-D float texture takes RGB data into RGBA32F storage.
  context->create1DFloatTexture(1001, 4096);
  glBindTexture(GL_TEXTURE_1D, context->textures[1001]);
  EXPECT_EQ(level0(GL_TEXTURE_1D, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA32F);
  EXPECT_EQ(level0(GL_TEXTURE_1D, GL_TEXTURE_WIDTH), 4096);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(textureGl, aMeshPointSetUploadsItsSamplesAndDropsThePolygons) {
  std::string file = dir.write("tri.obj", "v 1 1 1\nv 3 1 1\nv 1 3 1\nf 1// 2// 3//\n");
  TGObject mesh;
  logCapture log;
  mesh.load(file, 4, 4, 2, 4, 1, 1, 1);  // 2 rings x 3 edges x 2 points
  EXPECT_EQ(log.lines(),
            (std::vector<std::string>{"TGObject loading: " + file, "TGObject Maxcounter: 12/ 16"}));
  EXPECT_EQ(mesh.polygonCount(), 0);
  std::vector<float> texels(16 * 3);
  glBindTexture(GL_TEXTURE_2D, mesh.positionTexture);
  EXPECT_EQ(level0(GL_TEXTURE_2D, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB16F);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_FLOAT, texels.data());
  for (int i = 0; i < 48; i++) EXPECT_NEAR(texels[i], mesh.positions[i], 2e-3) << "float " << i;
  EXPECT_EQ(texels[47], 0.0f);
  glBindTexture(GL_TEXTURE_2D, mesh.colorTexture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_FLOAT, texels.data());
  EXPECT_NEAR(texels[0], mesh.colors[0], 2e-3);
  EXPECT_GT(texels[0], 0.5f);
}

// ---- particle simulator ------------------------------------------------------------

namespace {

// A test program, not a production one: it writes what it was given into
// every particle so that the step's bindings can be read back.
const char* stepSource = R"(#version 430
layout(local_size_x = 16, local_size_y = 16, local_size_z = 1) in;
layout(std430, binding = 4) buffer state0 { vec4 p0[]; };
layout(std430, binding = 5) buffer state1 { vec4 p1[]; };
layout(std430, binding = 6) buffer state2 { vec4 p2[]; };
layout(rgba32f, binding = 0) writeonly uniform image2D image0;
layout(rgba32f, binding = 2) writeonly uniform image2D image2;
uniform float ttime;
uniform float DeltaT;
uniform sampler3D CurlTexture;
uniform sampler2D OriginalPositionTexture;
void main() {
  ivec2 g = ivec2(gl_GlobalInvocationID.xy);
  uint i = gl_GlobalInvocationID.y * gl_NumWorkGroups.x * 16u + gl_GlobalInvocationID.x;
  vec3 curl = texture(CurlTexture, vec3(0.5)).xyz;
  vec4 target = texelFetch(OriginalPositionTexture, ivec2(0), 0);
  p1[i] = p1[i] + vec4(1.0);
  p0[i] = vec4(float(g.x), float(g.y), ttime, DeltaT);
  p2[i] = vec4(curl, target.x);
  imageStore(image0, g, vec4(float(i), 0.0, 0.0, 1.0));
  imageStore(image2, g, vec4(target.xyz, 1.0));
}
)";

}  // namespace

TEST_F(textureGl, aParticleStepCoversTheGridAndSeesItsBindings) {
  std::string file = dir.write("ComputeShader1.cpp", stepSource);
  particlesim& sim = context->sims[0];
  sim.width = sim.height = 32;
  logCapture log;
  sim.load(file);
  sim.loadVelocityVolume(dir.path("velocity.dat"));  // missing: zero velocity, and nothing logged
  std::vector<std::string> lines = log.lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Computer shader: " + file);
  EXPECT_EQ(lines[1], "");
  ASSERT_NE(sim.curlTexture, 0u);

  GLuint target = 0;
  const float seven[4] = {7, 7, 7, 1};
  glGenTextures(1, &target);
  glBindTexture(GL_TEXTURE_2D, target);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, seven);
  // The state lives from step to step: buffer 1 starts at zero and counts steps.
  std::vector<float> zeros(32 * 32 * 4, 0.0f), state(32 * 32 * 4);
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, sim.buffer1);
  glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, zeros.size() * 4, zeros.data());
  for (int step = 0; step < 2; step++) {
    sim.beginStep(2.5f, 0.125f);
    sim.bindSampler(GL_TEXTURE_2D, 7, "OriginalPositionTexture", target);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE7);  // left as bound
    sim.dispatch();
  }
  glMemoryBarrier(GL_ALL_BARRIER_BITS);
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, sim.buffer0);
  glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, state.size() * 4, state.data());
  for (int i = 0; i < 32 * 32; i++) {
    ASSERT_EQ(state[i * 4 + 0], float(i % 32)) << "particle " << i;
    ASSERT_EQ(state[i * 4 + 1], float(i / 32)) << "particle " << i;
    ASSERT_EQ(state[i * 4 + 2], 2.5f);
    ASSERT_EQ(state[i * 4 + 3], 0.125f);
  }
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, sim.buffer1);
  glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, state.size() * 4, state.data());
  EXPECT_EQ(state[1023 * 4], 2.0f);
  glBindBuffer(GL_SHADER_STORAGE_BUFFER, sim.buffer2);
  glGetBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, state.size() * 4, state.data());
  EXPECT_EQ(state[517 * 4 + 0], 0.0f);  // the missing volume reads as zero
  EXPECT_EQ(state[517 * 4 + 3], 7.0f);
  glBindTexture(GL_TEXTURE_2D, sim.image0);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, state.data());
  EXPECT_EQ(state[1000 * 4], 1000.0f);
  glBindTexture(GL_TEXTURE_2D, sim.image2);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, state.data());
  EXPECT_EQ(state[33 * 4 + 1], 7.0f);
  EXPECT_EQ(particlesim::groupCount(1000), 62);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
