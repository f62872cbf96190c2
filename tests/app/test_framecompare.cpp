// The distance of two frames, on made-up images.
#include <gtest/gtest.h>

#include "app/framecompare.h"

// A dark frame with a scatter of bright points, as a particle cloud is.
static rgbImage points(int shiftX) {
  rgbImage f;
  f.width = 64;
  f.height = 40;
  f.rgb.assign(size_t(f.width * f.height * 3), 0.02f);
  for (int k = 0; k < 60; ++k) {
    int x = (k * 37) % 56 + 4 + shiftX, y = (k * 23) % 32 + 4;
    for (int c = 0; c < 3; ++c) f.rgb[(size_t(y) * f.width + x) * 3 + c] = 0.9f;
  }
  return f;
}

TEST(frameCompare, identicalCloseAndDifferentFrames) {
  frameDistance d;
  std::string error;
  ASSERT_TRUE(compareFrames(points(0), points(0), 2, d, error));
  EXPECT_EQ(d.mean, 0.0);
  EXPECT_EQ(d.share, 0.0);

  // every point a pixel to the side: far apart pixel by pixel, close after the blur
  ASSERT_TRUE(compareFrames(points(0), points(1), 0, d, error));
  double unblurred = d.share;
  EXPECT_GT(unblurred, 0.04);  // 120 of 2560 pixels
  ASSERT_TRUE(compareFrames(points(0), points(1), 2, d, error));
  EXPECT_LT(d.share, unblurred / 10);
  EXPECT_LT(d.mean, 0.01);

  rgbImage white = points(0);
  white.rgb.assign(white.rgb.size(), 1.0f);
  ASSERT_TRUE(compareFrames(points(0), white, 2, d, error));
  EXPECT_GT(d.mean, 0.9);
  EXPECT_EQ(d.share, 1.0);
  EXPECT_FALSE(d.darkA || d.darkB);

  rgbImage black = points(0);
  black.rgb.assign(black.rgb.size(), 0.0f);
  ASSERT_TRUE(compareFrames(black, points(0), 2, d, error));
  EXPECT_TRUE(d.darkA);
  EXPECT_FALSE(d.darkB);
  // the brightness of each frame, not of the blurred copies: 60 points of
  // 0.9 on 0.02 over 2560 pixels
  EXPECT_EQ(d.brightA, 0.0);
  EXPECT_NEAR(d.brightB, 0.02 + 60 * (0.9 - 0.02) / 2560.0, 1e-6);

  rgbImage small;
  small.width = small.height = 2;
  small.rgb.assign(12, 0.0f);
  EXPECT_FALSE(compareFrames(points(0), small, 2, d, error));
  EXPECT_NE(error.find("64 x 40"), std::string::npos);
}
