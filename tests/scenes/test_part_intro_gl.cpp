// The intro section on llvmpipe: its programs compile and link, a frame
// renders without GL errors and shows the cloud, and a captured frame of the
// whole program shows the logo whole in the upper right. Runs in the baked
// data folder.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "scenes/part_intro.h"
#include "tests/support/scenefixture.h"
#include "tests/support/testfiles.h"

namespace {

using introSceneGl = sceneGlTest<part_intro, 1>;

}  // namespace

TEST_F(introSceneGl, everyProgramCompilesAndLinksWithoutComplaint) {
  const shaderset& s = scene->shaders;
  for (int slot : {200, 113, 199, 201, 202, 203, 4}) {
    EXPECT_EQ(glStatus(s.fragmentShaders[slot], false), GL_TRUE) << slot;
    EXPECT_EQ(glStatus(s.programs[slot], true), GL_TRUE) << slot;
  }
  for (int slot : {200, 113, 199}) EXPECT_EQ(glStatus(s.vertexShaders[slot], false), GL_TRUE) << slot;
  EXPECT_EQ(glStatus(context->sims[1].program, true), GL_TRUE);
  EXPECT_EQ(glStatus(scene->swingSim.program, true), GL_TRUE);
  // the swing swarm shares the curl volume of the start-up's simulator
  EXPECT_EQ(scene->swingSim.curlTexture, context->sims[0].curlTexture);
  EXPECT_EQ(context->sims[1].curlTexture, context->sims[0].curlTexture);
  std::vector<std::string> info = infoLinesOf(loadLog, "Part_Intro//shaders//");
  EXPECT_EQ(info.size(), 12u) << loadLog;
  for (const std::string& line : info) EXPECT_EQ(line.find("rror"), std::string::npos) << line;
}

// A jump into the swing's window: both simulators start from undefined
// storage, and their first frame already shows the cloud in the middle.
TEST_F(introSceneGl, aFrameAfterAJumpRendersWithoutErrorsAndShowsTheCloud) {
  scene->setClock(45.0);
  FrameState state;
  state.partNumber = 1;
  double step = 0.03;
  long before = scene->framesDrawn;
  glViewport(0, 0, 160, 100);
  glGetError();
  scene->draw(&step, context.get(), &state);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(scene->framesDrawn, before + 1);
  EXPECT_EQ(state.partNumber, 1);

  picture p = readTexture(context->textures[0], 160, 100);  // colour A after the occlusion pass
  EXPECT_GT(p.countAbove(60, 60, 20, 100, 80), 300);          // the strand in the middle
  EXPECT_LT(p.meanLevel(0, 0, 10, 10), 10.0);                  // an empty corner
}

// ---- the whole program, captured -----------------------------------------------------

TEST(introCapture, theLogoShowsWholeInTheUpperRightAt52) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
  if (!fileExists("newobjects//DNA.obj")) GTEST_SKIP() << "data folder not baked";
  std::string dir = ::testing::TempDir() + "obelisk_intro_52";
  std::string last = captureScene(OBELISK_EXE, 1, 52, 2, dir);
  ASSERT_FALSE(last.empty());
  for (const std::string& line : infoLinesOf(readFile("log/Mylog.txt"), "Part_Intro//shaders//"))
    EXPECT_EQ(line.find("rror"), std::string::npos) << line;
  picture p;
  ASSERT_TRUE(readPng(last, p)) << last;
  ASSERT_EQ(p.width, 640);
  // the logo's quad: columns 454 ... 634, rows 0 ... 160 from the top; its
  // ring reaches to about row 11, so the top rows stay dark: nothing is cut
  EXPECT_GT(p.countAbove(120, 460, 10, 630, 160), 400);
  EXPECT_LT(p.countAbove(120, 460, 0, 630, 4), 20);
  std::system(("rm -rf '" + dir + "'").c_str());
}
