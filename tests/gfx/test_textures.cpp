// The GL-free halves of the texture loaders: random helpers and bytes, the
// colour-and-alpha combination, and a JPEG the production needs but cannot read.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <memory>

#include "gfx/rendercontext.h"
#include "gfx/textures.h"
#include "platform/crandom.h"
#include "platform/platform.h"
#include "tests/support/testfiles.h"

TEST(randomHelpers, randomIntStaysInsideZeroToNInclusive) {
  cSrand(7);
  bool seen[3] = {};
  for (int i = 0; i < 1000; i++) {
    int r = randomInt(2);
    ASSERT_TRUE(r >= 0 && r <= 2) << r;
    seen[r] = true;
  }
  EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
  EXPECT_EQ(randomInt(0), 0);
  EXPECT_EQ(randomInt(-5), 0);
  for (int i = 0; i < 100; i++) ASSERT_LE(randomInt(40000), 40000);  // past the generator's range
  EXPECT_GE(randomInt(INT_MAX), 0);  // n + 1 must not overflow (UBSan)
  for (int i = 0; i < 100; i++) {
    double f = frand();
    ASSERT_TRUE(f >= 0.0 && f <= 1.0) << f;
  }
}

TEST(randomTexture, isTheSameWhateverTheGeneratorDidBeforeAndFavoursZero) {
  std::vector<unsigned char> first, second;
  fillRandomTextureBytes(256, 256, first);
  cSrand(99);
  cRand();
  fillRandomTextureBytes(256, 256, second);
  ASSERT_EQ(first.size(), 256u * 256u * 3u);
  EXPECT_TRUE(first == second);
  // randomInt(256) yields 0 ... 256 and 256 is stored as 0.
  long counts[256] = {};
  for (unsigned char b : first) counts[b]++;
  double others = 0;
  for (int v = 1; v < 256; v++) others += counts[v];
  others /= 255;
  EXPECT_GT(counts[0], 1.7 * others);
  EXPECT_LT(counts[0], 2.3 * others);
}

namespace {
// A bottom-up RGBX image whose every byte names its texel: R = x, G = 10 * row + 1.
std::vector<unsigned char> labelled(int width, int height) {
  std::vector<unsigned char> rgbx(size_t(width) * height * 4);
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) {
      unsigned char* p = &rgbx[(size_t(y) * width + x) * 4];
      p[0] = static_cast<unsigned char>(x);
      p[1] = static_cast<unsigned char>(10 * y + 1);
      p[2] = 200;
      p[3] = 77;
    }
  return rgbx;
}
}  // namespace

TEST(rgbaCombine, bottomRowIsTransparentBlackAndAlphaComesFromGreen) {
  std::vector<unsigned char> rgba;
  combineRgba(labelled(3, 4), 3, 4, labelled(3, 4), 3, 4, rgba);
  ASSERT_EQ(rgba.size(), 3u * 4u * 4u);
  for (int i = 0; i < 3 * 4; i++) EXPECT_EQ(rgba[i], 0) << "bottom row byte " << i;
  // Row 1 holds the alpha image's bottom row (green 1); rows 2, 3 their own.
  for (int x = 0; x < 3; x++) {
    const unsigned char* p = &rgba[(1 * 3 + x) * 4];
    EXPECT_EQ(std::vector<int>(p, p + 4), (std::vector<int>{x, 11, 200, 1}));
    EXPECT_EQ(rgba[(3 * 3 + x) * 4 + 3], 31);
  }
  // One row, and images of different sizes, stay in bounds.
  combineRgba(labelled(2, 1), 2, 1, labelled(2, 1), 2, 1, rgba);
  EXPECT_EQ(rgba, std::vector<unsigned char>(8, 0));
  combineRgba(labelled(1, 1), 1, 1, labelled(2, 3), 2, 3, rgba);  // colour too small
  EXPECT_EQ(rgba[(2 * 2 + 1) * 4 + 0], 0);
  EXPECT_EQ(rgba[(2 * 2 + 1) * 4 + 3], 21);
}

// The failure paths end the process before any GL call, so they run here.
// After the box's text comes one line with the reason (on standard error
// and in the log). The dying process takes its scratch folder with it.
static std::string dyingScratch;
static void exitTidily(int code) {
  std::filesystem::remove_all(dyingScratch);
  std::exit(code);
}

TEST(jpegLoaderDeathTest, aMissingOrBrokenJpegEndsTheProcessWithCodeOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  platformInteractive = false;
  scratchDir dir;
  dyingScratch = dir.path("");
  textureFailure = exitTidily;
  std::string missing = dir.path("missing.jpg"), broken = dir.write("broken.jpg", "xx");
  auto context = std::make_unique<rendercontext>();
  EXPECT_EXIT(context->loadJpg(missing.c_str(), 3), testing::ExitedWithCode(1),
              "Jpg: .*missing\\.jpg.*\nobelisk: cannot read JPEG \".*/missing\\.jpg\": No such file or directory\n");
  EXPECT_EXIT(context->loadJpg(broken.c_str(), 3), testing::ExitedWithCode(1),
              "Jpg !: .*broken\\.jpg.*\nobelisk: cannot read JPEG \".*/broken\\.jpg\": Not a JPEG file");
  EXPECT_EXIT(context->loadJpgRgba(missing.c_str(), broken.c_str(), 3), testing::ExitedWithCode(1),
              "Jpg !: .*missing\\.jpg.*\nobelisk: cannot read JPEG \".*/missing\\.jpg\": No such");
}
