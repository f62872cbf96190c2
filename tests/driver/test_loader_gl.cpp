// The loading screen: the ring's extent and brightness read back from the window.
#include <GL/glew.h>

#include "driver/driver.h"
#include "driver/part_loader.h"
#include "gfx/rendercontext.h"
#include "tests/support/glcontext.h"

TEST(loaderArithmetic, brightnessAndRing) {
  EXPECT_DOUBLE_EQ(part_loader::brightness(2), 0.5);
  EXPECT_DOUBLE_EQ(part_loader::brightness(10), 1.0);
  EXPECT_NEAR(part_loader::brightness(45), 0.65, 1e-12);
  EXPECT_DOUBLE_EQ(part_loader::ringTurn(25), 0.5);
  EXPECT_DOUBLE_EQ(part_loader::ringTurn(50), 1.0);
}

class loaderScreen : public glTest {
protected:
  static unsigned char pixel(int x, int y) {
    unsigned char p[4];
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return p[1];
  }
  // draws the loader with its clock at t (the picture slot is empty)
  static void drawAt(double t) {
    static rendercontext* rc = new rendercontext();
    rc->width = rc->height = 64;
    part_loader loader;
    loader.t = 0;
    double step = t / 0.792;
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    loader.draw(&step, rc, nullptr);
  }
};

TEST_F(loaderScreen, blackEarlyThenHalfTurnAtTwentyFiveAndDimAtTwo) {
  drawAt(0.1);
  EXPECT_EQ(pixel(32, 51), 0);
  drawAt(25);
  EXPECT_GT(pixel(32, 51), 100);  // top of the ring, full brightness 0.5
  EXPECT_GT(pixel(51, 32), 100);  // right side: covered
  EXPECT_EQ(pixel(13, 32), 0);    // left side: not yet
  drawAt(2);
  int top = pixel(32, 51);
  EXPECT_GT(top, 40);             // g = 0.25
  EXPECT_LT(top, 90);
}

// The loaders report more steps than a display shows: the clock counts every
// step whether its frame is drawn or not, and the first step is drawn.
TEST_F(loaderScreen, everyStepCountsAndTheFirstIsShown) {
  part_loader loader;
  loader.t = 25;
  part_loader* before = loaderSection;
  loaderSection = &loader;
  rcontext.width = rcontext.height = 64;
  glDrawBuffer(GL_BACK);
  glReadBuffer(GL_BACK);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  loadingFrameReset();
  double expected = 25;
  for (int i = 0; i < 200; ++i) {
    loadingProgress(0.0525);
    expected += 0.0525 * 0.567 * 3.05 * 0.792;
  }
  EXPECT_DOUBLE_EQ(loader.t, expected);
  glClear(GL_COLOR_BUFFER_BIT);
  loadingFrameReset();
  loadingProgress(0);
  EXPECT_GT(pixel(32, 51), 100);  // drawn: the top of the ring
  loaderSection = before;
}
