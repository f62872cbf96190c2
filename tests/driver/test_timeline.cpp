// The high-resolution clock the frame step is measured with, and the
// timeline that the sections' clocks and step scalings give.
#include <gtest/gtest.h>

#include <thread>

#include "driver/clock.h"
#include "driver/timeline.h"

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

TEST(timeline, handOversFallWhereTheMusicExpectsThemAtAnyStep) {
  std::vector<double> at = simulateTimeline(1.0 / 120.0);
  ASSERT_EQ(at.size(), 6u);
  const double expected[] = {38.6, 209.5, 270.9, 335.6, 433.8};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(at[i], expected[i], 0.25) << "hand-over " << i + 1;
  // the end section runs 20 s of its own clock, then nothing draws
  EXPECT_GT(at[5], at[4] + 15);
  EXPECT_LT(at[5], 455.5);
  std::vector<double> fine = simulateTimeline(1.0 / 240.0), coarse = simulateTimeline(1.0 / 30.0);
  ASSERT_EQ(fine.size(), coarse.size());
  for (size_t i = 0; i < fine.size(); ++i) EXPECT_NEAR(fine[i], coarse[i], 0.3);
}

TEST(timeline, stopsAtASectionClock) {
  double at = -1;
  simulateTimeline(1.0 / 100.0, 3, 10.0, &at);
  std::vector<double> all = simulateTimeline(1.0 / 100.0);
  // the city's clock runs about 1.07 x 1.07 x 1.05 times faster than demo time early on
  EXPECT_GT(at, all[2] + 8.0);
  EXPECT_LT(at, all[2] + 9.5);
  simulateTimeline(1.0 / 100.0, 0, -13.5, &at);
  EXPECT_NEAR(at, 0.01, 1e-9);  // the start section is there from the first frame
}
