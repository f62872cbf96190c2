// The start scene on llvmpipe: its programs compile and link, the hand-over
// frame is drawn whole, and captured frames of the whole program show the
// particle obelisk and the title cards when their fade says so. Runs in the
// baked data folder.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "scenes/part_start.h"
#include "tests/support/scenefixture.h"

namespace {

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

// ---- the section in a hidden context -------------------------------------------------

using startSceneGl = sceneGlTest<part_start, 0>;

}  // namespace

TEST_F(startSceneGl, everyProgramCompilesAndLinksWithoutComplaint) {
  expectCleanPrograms({200, 201, 202, 203, 204}, 7);
  EXPECT_EQ(glStatus(scene->shaders.vertexShaders[200], false), GL_TRUE);
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
  picture p = readTexture(context->textures[0], 160, 100);
  EXPECT_GT(tallestMiddleExtent(p, 30), 35);
  // the outer thirds hold only a faint haze of motes
  EXPECT_GT(p.meanLevel(60, 0, 100, 100), 2 * p.meanLevel(0, 0, 50, 100));

  scene->draw(&step, context.get(), &state);
  EXPECT_EQ(scene->framesDrawn, before + 1);
}

// The shared post shaders take their sizes from the textures: a scene that
// does not send "resolution" gets the same picture as one that does.
TEST_F(startSceneGl, postPassesDoNotDependOnResolution) {
  auto frameWith = [&](bool resolution) {
    scene->setClock(9.0);
    scene->post.ssaoResolution = scene->post.blurResolution = resolution;
    scene->post.backgroundResolution = resolution;
    FrameState state;
    double step = 0.0;  // the cloud stands still: both frames see the same state
    scene->draw(&step, context.get(), &state);
    std::vector<unsigned char> pixels(160 * 100 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 160, 100, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  };
  std::vector<unsigned char> with = frameWith(true), without = frameWith(false);
  scene->post = postStyle();
  long lit = 0, differ = 0;
  for (size_t i = 0; i < with.size(); ++i) {
    lit += with[i] > 20;
    differ += std::abs(int(with[i]) - int(without[i])) > 2;
  }
  EXPECT_GT(lit, 500);
  EXPECT_EQ(differ, 0);
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
  std::string last = captureScene(OBELISK_EXE, 0, c.at, 3, dir);
  ASSERT_FALSE(last.empty());
  for (const std::string& line : infoLinesOf(readFile("log/Mylog.txt"), "Part_start//shaders//"))
    EXPECT_EQ(line.find("rror"), std::string::npos) << line;

  picture p;
  ASSERT_TRUE(readPng(last, p)) << last;
  ASSERT_EQ(p.width, 640);
  EXPECT_GT(tallestMiddleExtent(p, 100), p.height * 35 / 100);  // the slab is 46 % of the height
  if (c.title)
    EXPECT_GT(outerBright(p, 150), 300);  // the card's letters reach into the outer thirds
  else
    EXPECT_LT(outerBright(p, 150), 30);
  std::system(("rm -rf '" + dir + "'").c_str());
}

INSTANTIATE_TEST_SUITE_P(start, startCapture,
                         ::testing::Values(captureCase{8, true}, captureCase{16, true}, captureCase{25, false}),
                         [](const ::testing::TestParamInfo<captureCase>& info) {
                           return "at" + std::to_string(int(info.param.at));
                         });
