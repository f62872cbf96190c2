// The start scene on llvmpipe: its programs compile and link, the hand-over
// frame is drawn whole, and captured frames of the whole program show the
// particle obelisk and the title cards when their fade says so. Runs in the
// baked data folder.
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "gfx/rendercontext.h"
#include "scenes/part_start.h"
#include "tests/support/glcontext.h"
#include "tests/support/testfiles.h"

namespace {

// An RGB picture, rows from the top (PNG) or from the bottom (GL); the
// measures below are symmetric in y.
struct picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  int level(int x, int y) const {
    const unsigned char* p = &rgb[(size_t(y) * width + x) * 3];
    return std::max(p[0], std::max(p[1], p[2]));
  }
};

bool readPng(const std::string& file, picture& out) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  out.width = int(image.width);
  out.height = int(image.height);
  out.rgb.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
}

// Rows holding at least three bright pixels in the middle third of the width.
int tallestMiddleExtent(const picture& p, int threshold) {
  int first = -1, last = -1;
  for (int y = 0; y < p.height; ++y) {
    int bright = 0;
    for (int x = p.width / 3; x < 2 * p.width / 3; ++x) bright += p.level(x, y) > threshold;
    if (bright < 3) continue;
    if (first < 0) first = y;
    last = y;
  }
  return first < 0 ? 0 : last - first + 1;
}

// Bright pixels in the outer thirds of the width.
int outerBright(const picture& p, int threshold) {
  int n = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if ((x < p.width / 3 || x >= 2 * p.width / 3) && p.level(x, y) > threshold) ++n;
  return n;
}

// The line after every line that names one of the scene's shader files:
// its info log, which must hold no complaint.
std::vector<std::string> infoLinesOfScene(const std::string& log) {
  std::vector<std::string> lines, info;
  std::stringstream in(log);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  for (size_t i = 0; i + 1 < lines.size(); ++i)
    if (lines[i].find("Part_start//shaders//") != std::string::npos) info.push_back(lines[i + 1]);
  return info;
}

// ---- the section in a hidden context -------------------------------------------------

class startSceneGl : public glTest {
public:
  static std::unique_ptr<rendercontext> context;
  static std::unique_ptr<part_start> scene;
  static std::string loadLog;

  static void SetUpTestSuite() {
    glTest::SetUpTestSuite();
    if (!haveContext || !fileExists("newobjects//obelisk.obj")) return;
    screenWidth = 160;
    screenHeight = 100;
    context = std::make_unique<rendercontext>();
    context->createRenderTarget(0, 160, 100, 0);
    context->createRenderTarget(2, 40, 25, 0);
    context->createRandomTexture(27, 1024, 1024);
    context->createNoiseTexture(0, 160, 100);
    context->createNoiseTexture(11, 160, 100);
    context->createNoiseTexture(28, 40, 25);
    context->createDepthTexture(26, 160, 100);
    scene = std::make_unique<part_start>();
    logCapture log;
    scene->load(context.get());
    loadLog = log.text();
  }
  static void TearDownTestSuite() {
    scene.reset();
    context.reset();
  }

protected:
  void SetUp() override {
    glTest::SetUp();
    if (!IsSkipped() && !scene) GTEST_SKIP() << "data folder not baked";
  }
};
std::unique_ptr<rendercontext> startSceneGl::context;
std::unique_ptr<part_start> startSceneGl::scene;
std::string startSceneGl::loadLog;

GLint status(GLuint object, bool program) {
  GLint ok = 0;
  (program ? glGetProgramiv : glGetShaderiv)(object, program ? GL_LINK_STATUS : GL_COMPILE_STATUS, &ok);
  return ok;
}

}  // namespace

TEST_F(startSceneGl, everyProgramCompilesAndLinksWithoutComplaint) {
  const shaderset& s = scene->shaders;
  for (int slot : {200, 201, 202, 203, 204}) {
    EXPECT_EQ(status(s.fragmentShaders[slot], false), GL_TRUE) << slot;
    EXPECT_EQ(status(s.programs[slot], true), GL_TRUE) << slot;
  }
  EXPECT_EQ(status(s.vertexShaders[200], false), GL_TRUE);
  EXPECT_EQ(status(context->sims[simStart].program, true), GL_TRUE);
  std::vector<std::string> info = infoLinesOfScene(loadLog);
  EXPECT_EQ(info.size(), 7u) << loadLog;
  for (const std::string& line : info) EXPECT_EQ(line.find("rror"), std::string::npos) << line;
}

TEST_F(startSceneGl, theHandOverFrameIsDrawnWholeAndTheNextIsNot) {
  scene->setClock(26.99);
  FrameState state;
  double step = 0.05;
  long before = scene->framesDrawn;
  glViewport(0, 0, 160, 100);  // as the window of that size would have it
  glGetError();
  scene->draw(&step, context.get(), &state);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(scene->framesDrawn, before + 1);
  EXPECT_EQ(state.partNumber, 1);
  EXPECT_TRUE(state.switched);

  // Colour A after the occlusion pass holds the obelisk: tall, in the middle.
  picture p;
  p.width = 160;
  p.height = 100;
  p.rgb.resize(160 * 100 * 3);
  glBindTexture(GL_TEXTURE_2D, context->textures[0]);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
  EXPECT_GT(tallestMiddleExtent(p, 30), 35);
  EXPECT_LT(outerBright(p, 30), 20);

  scene->draw(&step, context.get(), &state);
  EXPECT_EQ(scene->framesDrawn, before + 1);
}

// ---- the whole program, captured -----------------------------------------------------

namespace {

struct captureCase {
  double at;
  bool title;
};

class startCapture : public ::testing::TestWithParam<captureCase> {
protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    if (!fileExists("newobjects//obelisk.obj")) GTEST_SKIP() << "data folder not baked";
  }
};

}  // namespace

TEST_P(startCapture, showsTheObeliskAndTheTitleWhenItsFadeSaysSo) {
  captureCase c = GetParam();
  std::string dir = ::testing::TempDir() + "obelisk_start_" + std::to_string(int(c.at));
  std::system(("rm -rf '" + dir + "'").c_str());
  std::string cmd = std::string(OBELISK_EXE) + " --windowed --mode 640x400 --no-aa --section 0 --at " +
                    std::to_string(c.at) + " --capture '" + dir + "' --frames 3 >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  for (const std::string& line : infoLinesOfScene(readFile("log/Mylog.txt")))
    EXPECT_EQ(line.find("rror"), std::string::npos) << line;

  picture p;
  std::string last = dir + "/frame_000003.png";  // the third frame, however capture numbers them
  if (!fileExists(last)) last = dir + "/frame_000002.png";
  ASSERT_TRUE(readPng(last, p)) << last;
  ASSERT_EQ(p.width, 640);
  EXPECT_GT(tallestMiddleExtent(p, 100), p.height * 35 / 100);  // the slab is 46 % of the height
  if (c.title)
    EXPECT_GT(outerBright(p, 150), 300);  // the card's letters reach into the outer thirds
  else
    EXPECT_LT(outerBright(p, 150), 30);
}

INSTANTIATE_TEST_SUITE_P(start, startCapture,
                         ::testing::Values(captureCase{8, true}, captureCase{16, true}, captureCase{25, false}),
                         [](const ::testing::TestParamInfo<captureCase>& info) {
                           return "at" + std::to_string(int(info.param.at));
                         });
