// The high-resolution clock the frame step is measured with.
#include <gtest/gtest.h>

#include <thread>

#include "driver/clock.h"

TEST(clock, countsFromItsResetInSeconds) {
  clockReset();
  double a = clockSeconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  double b = clockSeconds();
  EXPECT_GE(a, 0.0);
  EXPECT_LT(a, 0.01);
  EXPECT_GE(b - a, 0.019);
  EXPECT_LT(b - a, 1.0);
  clockReset();
  EXPECT_LT(clockSeconds(), b);
}
