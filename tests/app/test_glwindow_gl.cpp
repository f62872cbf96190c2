// The render window under a real X server (Xvfb).
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
