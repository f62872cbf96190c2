// The reallife section on llvmpipe, and captured frames of the whole program.
// Runs in the baked data folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "scenes/part_reallife.h"
#include "tests/support/scenefixture.h"
#include "tests/support/testfiles.h"

namespace {

// The dark part of a silhouette picture: how many pixels, and their rows.
struct darkRegion {
  int count = 0, top = -1, bottom = -1, left = -1, right = -1;
  double meanY = 0;
};

darkRegion darkOf(const picture& p) {
  darkRegion d;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      if (p.level(x, y) >= 128) continue;
      if (d.count == 0 || y < d.top) d.top = y;
      if (y > d.bottom) d.bottom = y;
      if (d.left < 0 || x < d.left) d.left = x;
      if (x > d.right) d.right = x;
      d.meanY += y;
      ++d.count;
    }
  if (d.count) d.meanY /= d.count;
  return d;
}

class reallifeSceneGl : public sceneGlTest<part_reallife, 2> {
protected:
  picture silhouetteAt(double t) {
    scene->setClock(t);
    glViewport(0, 0, W, H);
    scene->silhouettePass();
    return readTexture(context->textures[0], W, H);
  }
};

}  // namespace

TEST_F(reallifeSceneGl, everyProgramCompilesAndLinksAndSharesTheCurlVolume) {
  const shaderset& s = scene->shaders;
  for (int slot : {4, 199, 200, 201, 202, 203}) {
    EXPECT_EQ(glStatus(s.fragmentShaders[slot], false), GL_TRUE) << slot;
    EXPECT_EQ(glStatus(s.programs[slot], true), GL_TRUE) << slot;
  }
  for (int slot : {199, 200}) EXPECT_EQ(glStatus(s.vertexShaders[slot], false), GL_TRUE) << slot;
  const particlesim& sim = context->sims[3];
  EXPECT_EQ(glStatus(sim.program, true), GL_TRUE);
  EXPECT_NE(sim.curlTexture, 0u);
  EXPECT_EQ(sim.curlTexture, context->sims[0].curlTexture);
  std::vector<std::string> info = infoLinesOf(loadLog, "Part_reallife//shaders//");
  EXPECT_EQ(info.size(), 9u) << loadLog;
  for (const std::string& line : info) EXPECT_EQ(line.find("rror"), std::string::npos) << line;
}

TEST_F(reallifeSceneGl, theSilhouetteIsABirdInTheMiddleThatBeatsItsWings) {
  // A beat lasts 2 pi / 5.2 s: wings high a quarter in, low three quarters in.
  const double beat = 6.2831853 / 5.2;
  picture up = silhouetteAt(10 * beat + 0.25 * beat), down = silhouetteAt(10 * beat + 0.75 * beat);
  darkRegion a = darkOf(up), b = darkOf(down);
  for (const darkRegion* d : {&a, &b}) {
    EXPECT_GT(d->count, 160 * 100 / 50);  // a bird, not a speck
    EXPECT_LT(d->count, 160 * 100 / 4);   // on white
    EXPECT_GT(d->left, 160 / 6);          // and away from the edges
    EXPECT_LT(d->right, 160 * 5 / 6);
    EXPECT_GT(d->bottom - d->top, 100 / 5);
  }
  EXPECT_GT(up.level(0, 0), 250);
  // Rows count from the bottom: wings high lift the dark mass.
  EXPECT_GT(a.meanY, b.meanY + 3);
}

TEST_F(reallifeSceneGl, aWholeFrameDrawsWithoutErrorsAndHandsOver) {
  scene->setClock(68.99);
  FrameState state;
  state.partNumber = 2;
  double step = 0.05;
  long before = scene->framesDrawn;
  glViewport(0, 0, 160, 100);
  glGetError();
  scene->draw(&step, context.get(), &state);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(scene->framesDrawn, before + 1);
  EXPECT_EQ(state.partNumber, 3);
  // Colour A holds the gold bird: brighter in the middle than at the sides.
  picture p = readTexture(context->textures[0], 160, 100);
  EXPECT_GT(p.meanLevel(60, 20, 100, 80), 2 * p.meanLevel(0, 20, 20, 80) + 5);
}

// ---- the whole program, captured -----------------------------------------------------

TEST(reallifeCapture, theFlightsReadAgainstTheSkyAndTheCloud) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
  if (!fileExists("newobjects//cronus.obj")) GTEST_SKIP() << "data folder not baked";
  std::string dir = ::testing::TempDir() + "obelisk_reallife_55";
  std::string last = captureScene(OBELISK_EXE, 2, 55, 2, dir);
  ASSERT_FALSE(last.empty());
  for (const std::string& line : infoLinesOf(readFile("log/Mylog.txt"), "Part_reallife//shaders//"))
    EXPECT_EQ(line.find("rror"), std::string::npos) << line;
  picture p;
  ASSERT_TRUE(readPng(last, p)) << last;
  ASSERT_EQ(p.width, 640);
  // The sky is painted: no black corners but the vignette's.
  EXPECT_GT(p.meanLevel(0, 0, 640, 40), 40);
  // White statues and black birds are both there in numbers.
  EXPECT_GT(p.countAbove(200, 0, 0, 640, 400), 2000);
  EXPECT_GT(640 * 400 - p.countAbove(25, 0, 0, 640, 400), 300);
  std::system(("rm -rf '" + dir + "'").c_str());
}
