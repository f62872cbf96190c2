// The render window under a real X server (Xvfb) and the program end to end.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "app/app.h"
#include "tests/support/testfiles.h"

TEST(glWindow, windowedClientAreaAndResize) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
  platformInteractive = false;
  killGLWindow();  // safe before anything exists
  ASSERT_TRUE(platformVideoInit());
  ASSERT_TRUE(platformCreateWindow("test", 640, 400, false));
  ASSERT_TRUE(platformCreateContext());
  ASSERT_TRUE(platformMakeCurrent());
  platformShowWindow();
  int w = 0, h = 0;
  platformClientSize(w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 400);
  GLint vp[4];
  resizeGLScene(320, 0);  // a height of 0 is taken as 1
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[2], 320);
  EXPECT_EQ(vp[3], 1);
  float p[16];
  glGetFloatv(GL_PROJECTION_MATRIX, p);
  for (float v : p) EXPECT_TRUE(std::isfinite(v));
  killGLWindow();
  killGLWindow();  // and again
  EXPECT_FALSE(platformHasWindow());
  EXPECT_FALSE(platformHasContext());
}

TEST(program, badOptionExitsWithTwo) {
  EXPECT_EQ(exitCodeOf(std::string(OBELISK_EXE) + " --frames nope 2>/dev/null"), 2);
}

// Started from another folder the program finds the data folder beside its
// own file; a copy with no data beside it says how to run it and fails.
TEST(program, findsItsDataFolderOrSaysHowToRunIt) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
  scratchDir elsewhere;
  // machines without a sound card play to SDL's dummy output
  std::string run = "cd '" + elsewhere.path("") + "' && SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} ";
  EXPECT_EQ(exitCodeOf(run + OBELISK_EXE + " --windowed --mode 160x100 --no-aa --frames 1 2>/dev/null"), 0);
  std::string copy = elsewhere.path("obelisk"), said = elsewhere.path("said.txt");
  ASSERT_EQ(std::system(("cp '" + std::string(OBELISK_EXE) + "' '" + copy + "'").c_str()), 0);
  EXPECT_EQ(exitCodeOf(run + "'" + copy + "' --frames 1 2>'" + said + "'"), 1);
  EXPECT_NE(readFile(said).find("Run it from its data folder"), std::string::npos) << readFile(said);
}
