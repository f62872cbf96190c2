// An image written by the content generator's JPEG writer decodes through
// the program's decoder at its size, rows in the order the textures expect.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "content/jpegwriter.h"
#include "gfx/jpegdecode.h"
#include "tests/support/testfiles.h"

TEST(jpegWriter, aWrittenImageDecodesAtItsSizeBottomRowFirst) {
  const int w = 40, h = 24;  // neither a multiple of the 16-pixel blocks
  std::vector<uint8_t> rgb(size_t(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &rgb[(size_t(y) * w + x) * 3];
      p[0] = uint8_t(x * 6), p[1] = uint8_t(y * 10), p[2] = 128;
    }
  scratchDir dir;
  ASSERT_TRUE(writeJpeg(dir.path("ramp.jpg"), w, h, rgb.data(), 95));
  std::vector<unsigned char> rgbx;
  int width = 0, height = 0;
  ASSERT_TRUE(decodeJpgFile(dir.path("ramp.jpg"), rgbx, width, height));
  ASSERT_EQ(width, w);
  ASSERT_EQ(height, h);
  long worst = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c)
        worst = std::max(worst, std::labs(long(rgbx[(size_t(h - 1 - y) * w + x) * 4 + c]) - rgb[(size_t(y) * w + x) * 3 + c]));
  EXPECT_LT(worst, 12);  // a smooth ramp survives quality 95 closely
}
