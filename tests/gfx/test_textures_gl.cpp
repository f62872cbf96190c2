// Textures, mesh point set uploads and the particle simulator on a real
// (llvmpipe) context. Read-backs exist only here; the program never reads back.
#include <GL/glew.h>

#include <memory>

#include "gfx/rendercontext.h"
#include "gfx/textures.h"
#include "gfx/tgobject.h"
#include "platform/platform.h"
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

// Without the shell's handler a broken image is reported and loading goes on.
TEST_F(textureGl, withoutAFailureHandlerABrokenJpegLeavesAnEmptyTexture) {
  std::string broken = dir.write("broken.jpg", "xx");
  platformInteractive = false;
  textureFailure = nullptr;
  context->loadJpg(broken.c_str(), 4);
  context->loadJpgRgba(broken.c_str(), dir.path("missing.jpg").c_str(), 5);
  for (int slot : {4, 5}) {
    ASSERT_NE(context->textures[slot], 0u);
    glBindTexture(GL_TEXTURE_2D, context->textures[slot]);
    EXPECT_EQ(level0(GL_TEXTURE_2D, GL_TEXTURE_WIDTH), 0);
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
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

TEST_F(textureGl, aMeshPointSetUploadsItsSamplesAndDropsThePolygonsAndCopies) {
  std::string file = dir.write("tri.obj", "v 1 1 1\nv 3 1 1\nv 1 3 1\nf 1// 2// 3//\n");
  TGObject mesh, expected;
  expected.readMesh(file);
  expected.allocate(4, 4);
  expected.samplePoints(2, 4, 1, 1, 1, nullptr);
  logCapture log;
  mesh.load(file, 4, 4, 2, 4, 1, 1, 1);  // 2 rings x 3 edges x 2 points
  EXPECT_EQ(log.lines(),
            (std::vector<std::string>{"TGObject loading: " + file, "TGObject Maxcounter: 12/ 16"}));
  EXPECT_EQ(mesh.polygonCount(), 0);
  EXPECT_TRUE(mesh.positions.empty() && mesh.colors.empty());
  std::vector<float> texels(16 * 3);
  glBindTexture(GL_TEXTURE_2D, mesh.positionTexture);
  EXPECT_EQ(level0(GL_TEXTURE_2D, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB16F);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_FLOAT, texels.data());
  for (int i = 0; i < 48; i++) EXPECT_NEAR(texels[i], expected.positions[i], 2e-3) << "float " << i;
  EXPECT_EQ(texels[47], 0.0f);
  glBindTexture(GL_TEXTURE_2D, mesh.colorTexture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_FLOAT, texels.data());
  EXPECT_NEAR(texels[0], expected.colors[0], 2e-3);
  EXPECT_GT(texels[0], 0.5f);
}

namespace {

// What one load leaves behind: its log, its progress calls, its textures.
struct loadResult {
  std::vector<std::string> lines;
  size_t progress = 0;
  GLuint positionTexture = 0, colorTexture = 0;
  std::vector<float> positions, colors;
};

std::vector<float> texels(GLuint texture, int width, int height) {
  std::vector<float> out(size_t(width) * height * 3);
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_FLOAT, out.data());
  return out;
}

// With `ready`, before each load: the worker is let run as far ahead as it
// may and the number of samplings waiting is recorded.
std::vector<loadResult> loadEach(rendercontext* context, const std::vector<pointSetRequest>& loads,
                                 std::vector<int>* ready = nullptr) {
  std::vector<loadResult> out;
  for (const pointSetRequest& q : loads) {
    if (ready) ready->push_back(pointSetsSettle());
    TGObject mesh;
    mesh.context = context;
    progressCalls.clear();
    loadResult r;
    {
      logCapture log;
      mesh.load(q);
      r.lines = log.lines();
    }
    r.progress = progressCalls.size();
    r.positionTexture = mesh.positionTexture;
    r.colorTexture = mesh.colorTexture;
    r.positions = texels(mesh.positionTexture, q.width, q.height);
    r.colors = texels(mesh.colorTexture, q.width, q.height);
    out.push_back(r);
  }
  return out;
}

// A strip of n triangles.
std::string strip(int n) {
  std::string text;
  for (int i = 0; i < n + 2; i++)
    text += "v " + std::to_string(i) + " " + std::to_string(i % 2) + " " + std::to_string(i % 3) + "\n";
  for (int i = 1; i <= n; i++)
    text += "f " + std::to_string(i) + "// " + std::to_string(i + 1) + "// " + std::to_string(i + 2) + "//\n";
  return text;
}

}  // namespace

// The start-up samples on a worker thread ahead of the loads; what the loads
// log, report and upload is what they would have made one after another.
// A repeated load shares the first one's textures; loads that were listed
// but never come, or come without being listed, change nothing.
TEST_F(textureGl, samplingAheadGivesWhatTheLoadsMakeThemselves) {
  pointSetRequest a{dir.write("a.obj", strip(31)), 16, 16, 3, 4, 1, 0.5f, 0.25f};
  pointSetRequest b{dir.write("b.obj", strip(40)), 32, 8, 2, 6, 0.5f, 1, 1};
  pointSetRequest never{dir.write("c.obj", strip(3)), 8, 8, 2, 2, 1, 1, 1};
  pointSetRequest unlisted{a.fileName, 16, 16, 5, 4, 1, 1, 1};
  std::vector<pointSetRequest> loads{a, b, a, unlisted};
  context->progress = recordProgress;
  std::vector<loadResult> alone = loadEach(context.get(), loads);
  pointSetsBegin({a, never, b, a});
  std::vector<int> ready;
  std::vector<loadResult> ahead = loadEach(context.get(), loads, &ready);
  pointSetsEnd();
  // Two at a time: a and the one never loaded, then that one and b (a is
  // not sampled twice), then nothing.
  EXPECT_EQ(ready, (std::vector<int>{2, 2, 0, 0}));
  ASSERT_EQ(ahead.size(), alone.size());
  EXPECT_EQ(alone[0].progress, 3u);  // every 15 polygons
  EXPECT_EQ(alone[1].progress, 3u);
  for (size_t i = 0; i < loads.size(); i++) {
    EXPECT_EQ(ahead[i].lines, alone[i].lines) << "load " << i;
    EXPECT_EQ(ahead[i].progress, alone[i].progress) << "load " << i;
    EXPECT_EQ(ahead[i].positions, alone[i].positions) << "load " << i;
    EXPECT_EQ(ahead[i].colors, alone[i].colors) << "load " << i;
  }
  EXPECT_NE(alone[2].positionTexture, alone[0].positionTexture);
  EXPECT_EQ(ahead[2].positionTexture, ahead[0].positionTexture);
  EXPECT_EQ(ahead[2].colorTexture, ahead[0].colorTexture);
  EXPECT_NE(ahead[3].positionTexture, ahead[0].positionTexture);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The volume goes up in slabs; a short file reads as zero from where it ends.
TEST_F(textureGl, theVelocityVolumeHoldsTheFileAndZeroPastItsEnd) {
  std::vector<float> head(size_t(VelocityWidth) * VelocityHeight * 12 * 3);
  for (size_t i = 0; i < head.size(); i++) head[i] = float(int(i % 2001) - 1000) * 0.01f;
  std::string bytes(reinterpret_cast<const char*>(head.data()), head.size() * 4 - 2);  // ends inside a float
  std::string file = dir.write("velocity.dat", bytes);
  std::vector<float> whole;
  readVelocityFile(file, whole);
  GLuint reference = 0;
  glGenTextures(1, &reference);
  glBindTexture(GL_TEXTURE_3D, reference);
  glTexImage3D(GL_TEXTURE_3D, 0, GL_RGB16F, VelocityWidth, VelocityHeight, VelocityDepth, 0, GL_RGB,
               GL_FLOAT, whole.data());
  particlesim sim;
  sim.loadVelocityVolume(file);
  std::vector<unsigned short> expected(static_cast<size_t>(VelocityFloats)), got(expected.size());
  glGetTexImage(GL_TEXTURE_3D, 0, GL_RGB, GL_HALF_FLOAT, expected.data());
  glBindTexture(GL_TEXTURE_3D, sim.curlTexture);
  glGetTexImage(GL_TEXTURE_3D, 0, GL_RGB, GL_HALF_FLOAT, got.data());
  EXPECT_TRUE(got == expected);
  EXPECT_NE(got[5], 0);
  EXPECT_EQ(got[head.size()], 0);
  GLint wrap = 0;
  glGetTexParameteriv(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, &wrap);
  EXPECT_EQ(wrap, GL_MIRRORED_REPEAT);
  glDeleteTextures(1, &reference);
  glDeleteTextures(1, &sim.curlTexture);
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
  std::vector<float> state(32 * 32 * 4);
  EXPECT_FALSE(sim.stored);
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
