// The theend section on llvmpipe: its programs link, the word sits in the
// middle band at 1 s with black corners, and the last frames are nearly
// black. Runs in the baked data folder.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/rendercontext.h"
#include "scenes/part_theend.h"
#include "scenes/sections.h"
#include "tests/support/glcontext.h"
#include "tests/support/scenegl.h"
#include "tests/support/testfiles.h"

namespace {

const int W = 160, H = 100;

class endSceneGl : public glTest {
public:
  static std::unique_ptr<rendercontext> context;
  static std::unique_ptr<part_theend> scene;
  static std::string loadLog;

  static void SetUpTestSuite() {
    glTest::SetUpTestSuite();
    if (!haveContext || !fileExists("newobjects//veltra.obj")) return;
    context = makeSceneContext(W, H);
    scene.reset(static_cast<part_theend*>(createSection(5)));
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

  // Draws `frames` frames from section time `at` and reads back colour A
  // after the occlusion pass (the picture the blur and glow are made from).
  picture frameAt(double at, int frames) {
    scene->setClock(at);
    for (int k = 0; k < frames; ++k) {
      FrameState state;
      state.partNumber = 5;
      double step = 0.02;
      scene->draw(&step, context.get(), &state);
    }
    return readTexture(context->textures[0], W, H);
  }
};
std::unique_ptr<rendercontext> endSceneGl::context;
std::unique_ptr<part_theend> endSceneGl::scene;
std::string endSceneGl::loadLog;

}  // namespace

TEST_F(endSceneGl, everyProgramCompilesAndLinksWithoutComplaint) {
  const shaderset& s = scene->shaders;
  for (int slot : {200, 202, 203, 204}) {
    EXPECT_EQ(glStatus(s.fragmentShaders[slot], false), GL_TRUE) << slot;
    EXPECT_EQ(glStatus(s.programs[slot], true), GL_TRUE) << slot;
  }
  EXPECT_EQ(s.programs[201], 0u);  // no background effect in this section
  EXPECT_EQ(glStatus(s.vertexShaders[200], false), GL_TRUE);
  EXPECT_EQ(glStatus(context->sims[5].program, true), GL_TRUE);
  EXPECT_EQ(context->sims[5].curlTexture, context->sims[0].curlTexture);
  std::vector<std::string> info = infoLinesOf(loadLog, "Part_theend//shaders//");
  EXPECT_EQ(info.size(), 6u) << loadLog;
  for (const std::string& line : info) EXPECT_EQ(line.find("rror"), std::string::npos) << line;
}

TEST_F(endSceneGl, atOneSecondTheWordFillsTheMiddleBandAndTheCornersAreBlack) {
  glGetError();
  picture p = frameAt(1.0, 2);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  double band = p.meanLevel(W / 3, H * 2 / 5, W * 2 / 3, H * 3 / 5);
  // At this size the points are a pixel wide and dim; the letters still
  // stand out of the black.
  EXPECT_GT(band, 10);
  EXPECT_GT(p.countAbove(30, W / 4, H / 3, W * 3 / 4, H * 2 / 3), 150);  // the letters, spread across
  EXPECT_LT(p.countAbove(30, 0, 0, W / 4, H), 5);  // nothing beside the word
  EXPECT_LT(p.countAbove(30, W * 3 / 4, 0, W, H), 5);
  for (int x : {0, W - 20})
    for (int y : {0, H - 15}) EXPECT_LT(p.meanLevel(x, y, x + 20, y + 15), 2) << x << ", " << y;
  EXPECT_LT(p.meanLevel(0, 0, W, H / 4), band / 10);  // black above the word
}

TEST_F(endSceneGl, theLastFramesAreCloseToBlack) {
  picture p = frameAt(19.9, 2);
  EXPECT_LT(p.meanLevel(0, 0, W, H), 1.5);
  EXPECT_LT(p.countAbove(20, 0, 0, W, H), 10);
}
