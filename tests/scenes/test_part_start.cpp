// The start section's time script, without GL.
#include <gtest/gtest.h>

#include "scenes/part_start.h"

TEST(startScript, titleFadeAndCard) {
  route none;
  struct { double t, fade; int slot; } cases[] = {
      {-13.5, 0.0, 30}, {5.0, 0.0, 30}, {7.0, 0.5, 30}, {15.3, 1.0, 30}, {15.31, 1.0, 31},
      {16.0, 1.0, 31}, {20.0, 0.5, 31}, {22.0, 0.0, 31}};
  for (auto c : cases) {
    startValues v = startScript(c.t, none);
    EXPECT_NEAR(v.fade, c.fade, 1e-9) << "t = " << c.t;
    EXPECT_EQ(v.titleSlot, c.slot) << "t = " << c.t;
  }
}
