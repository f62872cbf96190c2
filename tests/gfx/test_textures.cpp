// The GL-free halves of the texture loaders: random helpers and bytes, and
// the colour-and-alpha combination.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "gfx/textures.h"
#include "platform/crandom.h"

// randomInt(n) yields 0 ... n, even past the generator's range, and n + 1
// must not overflow (UBSan); the random texture is the same whatever the
// generator did before, and stores 256 as 0.
TEST(randomHelpers, stayInTheirRangesAndTheTextureIsAlwaysTheSame) {
  cSrand(7);
  bool seen[3] = {};
  for (int i = 0; i < 1000; i++) {
    int r = randomInt(2);
    ASSERT_TRUE(r >= 0 && r <= 2) << r;
    seen[r] = true;
    ASSERT_LE(randomInt(40000), 40000);
    ASSERT_TRUE(frand() >= 0.0 && frand() <= 1.0);
  }
  EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
  EXPECT_EQ(randomInt(0) + randomInt(-5), 0);
  EXPECT_GE(randomInt(INT_MAX), 0);
  std::vector<unsigned char> first, second;
  fillRandomTextureBytes(256, 256, first);
  cSrand(99);
  cRand();
  fillRandomTextureBytes(256, 256, second);
  ASSERT_EQ(first.size(), 256u * 256u * 3u);
  EXPECT_TRUE(first == second);
  long zeros = std::count(first.begin(), first.end(), 0), others = long(first.size()) - zeros;
  EXPECT_TRUE(zeros > 1.7 * others / 255 && zeros < 2.3 * others / 255) << zeros;
}

// Images of one row or of different sizes stay in bounds: the bottom row
// is transparent black, alpha comes from the alpha image's green one row up
// (the layout of a whole pair is read back through the GL).
TEST(rgbaCombine, imagesOfOneRowOrOfDifferentSizesStayInBounds) {
  auto labelled = [](int width, int height) {  // bottom-up RGBX: R = x, G = 10 * row + 1
    std::vector<unsigned char> rgbx;
    for (int y = 0; y < height; y++)
      for (int x = 0; x < width; x++) rgbx.insert(rgbx.end(), {(unsigned char)x, (unsigned char)(10 * y + 1), 200, 77});
    return rgbx;
  };
  std::vector<unsigned char> rgba;
  combineRgba(labelled(2, 1), 2, 1, labelled(2, 1), 2, 1, rgba);
  EXPECT_EQ(rgba, std::vector<unsigned char>(8, 0));
  combineRgba(labelled(1, 1), 1, 1, labelled(2, 3), 2, 3, rgba);  // colour too small
  EXPECT_EQ(rgba[(2 * 2 + 1) * 4 + 0], 0);
  EXPECT_EQ(rgba[(2 * 2 + 1) * 4 + 3], 21);
}
