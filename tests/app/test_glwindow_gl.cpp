// The render window under a real X server (Xvfb) and the program end to end.
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

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

  resizeGLScene(640, 400);
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[2], 640);
  EXPECT_EQ(vp[3], 400);
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

TEST(program, shortWindowedRunExitsCleanlyWithALog) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
  std::remove("log/Mylog.txt");
  // machines without a sound card play to SDL's dummy output
  std::string cmd = "SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} " + std::string(OBELISK_EXE) +
                    " --windowed --mode 640x400 --no-aa --frames 20 2>/dev/null";
  int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  struct stat st;
  EXPECT_EQ(stat("log/Mylog.txt", &st), 0);
}

TEST(program, badOptionExitsWithTwo) {
  std::string cmd = std::string(OBELISK_EXE) + " --frames nope 2>/dev/null";
  int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

// Started from another folder the program finds the data folder beside its
// own file; a copy with no data beside it says how to run it and fails.
TEST(program, findsItsDataFolderOrSaysHowToRunIt) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
  scratchDir elsewhere;
  std::string run = "cd '" + elsewhere.path("") + "' && SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} ";
  int status = std::system((run + OBELISK_EXE + " --windowed --mode 160x100 --no-aa --frames 1 2>/dev/null").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  std::string copy = elsewhere.path("obelisk");
  ASSERT_EQ(std::system(("cp '" + std::string(OBELISK_EXE) + "' '" + copy + "'").c_str()), 0);
  std::string said = elsewhere.path("said.txt");
  status = std::system((run + "'" + copy + "' --frames 1 2>'" + said + "'").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(readFile(said).find("Run it from its data folder"), std::string::npos) << readFile(said);
}
