// The loading screen: the ring's extent and brightness read back from the window.
#include <GL/glew.h>

#include "driver/part_loader.h"
#include "gfx/rendercontext.h"
#include "tests/support/glcontext.h"

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
