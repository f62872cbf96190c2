// Random helpers, texture bytes, JPEG decoding, shader source and velocity
// file reading: the GL-free halves of the loaders.
#include <gtest/gtest.h>

#include <filesystem>

#include <climits>
#include <memory>

#include "gfx/jpegdecode.h"
#include "gfx/particlesim.h"
#include "gfx/rendercontext.h"
#include "gfx/shaderset.h"
#include "gfx/textures.h"
#include "platform/crandom.h"
#include "platform/platform.h"
#include "tests/support/testfiles.h"

TEST(randomHelpers, randomIntStaysInsideZeroToNInclusive) {
  cSrand(7);
  bool seen[3] = {};
  for (int i = 0; i < 1000; i++) {
    int r = randomInt(2);
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 2);
    seen[r] = true;
  }
  EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
  EXPECT_EQ(randomInt(0), 0);
  EXPECT_EQ(randomInt(-5), 0);
  for (int i = 0; i < 100; i++) ASSERT_LE(randomInt(40000), 40000);  // past the generator's range
  EXPECT_GE(randomInt(INT_MAX), 0);  // n + 1 must not overflow (UBSan)
  for (int i = 0; i < 100; i++) {
    double f = frand();
    ASSERT_GE(f, 0.0);
    ASSERT_LE(f, 1.0);
  }
}

TEST(randomTexture, isIdenticalOnEveryRunAndFavoursZero) {
  std::vector<unsigned char> first, second;
  fillRandomTextureBytes(256, 256, first);
  cSrand(99);  // whatever the generator did before, the texture is the same
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
  std::vector<unsigned char> colour = labelled(3, 4), alpha = labelled(3, 4), rgba;
  combineRgba(colour, 3, 4, alpha, 3, 4, rgba);
  ASSERT_EQ(rgba.size(), 3u * 4u * 4u);
  for (int i = 0; i < 3 * 4; i++) EXPECT_EQ(rgba[i], 0) << "bottom row byte " << i;
  // Row 1 holds the alpha image's bottom row (green 1); rows 2, 3 their own.
  for (int x = 0; x < 3; x++) {
    const unsigned char* p = &rgba[(1 * 3 + x) * 4];
    EXPECT_EQ(p[0], x);
    EXPECT_EQ(p[1], 11);
    EXPECT_EQ(p[2], 200);
    EXPECT_EQ(p[3], 1);
    EXPECT_EQ(rgba[(3 * 3 + x) * 4 + 3], 31);
  }
}

TEST(rgbaCombine, oneRowAndMismatchedImagesStayInBounds) {
  std::vector<unsigned char> rgba;
  combineRgba(labelled(2, 1), 2, 1, labelled(2, 1), 2, 1, rgba);
  EXPECT_EQ(rgba, std::vector<unsigned char>(8, 0));
  combineRgba(labelled(1, 1), 1, 1, labelled(2, 3), 2, 3, rgba);  // colour too small
  EXPECT_EQ(rgba[(2 * 2 + 1) * 4 + 0], 0);
  EXPECT_EQ(rgba[(2 * 2 + 1) * 4 + 3], 21);
}

TEST(jpegDecoder, deliversBottomUpRgbxRowsAndGreyAsColour) {
  scratchDir dir;
  std::vector<unsigned char> rgb(16 * 16 * 3);
  for (int i = 0; i < 16 * 16; i++) rgb[i * 3 + (i < 16 * 8 ? 0 : 2)] = 255;  // top red, bottom blue
  writeJpeg(dir.path("rb.jpg"), 16, 16, 3, rgb);
  std::vector<unsigned char> rgbx;
  int w = 0, h = 0;
  ASSERT_TRUE(decodeJpgFile(dir.path("rb.jpg"), rgbx, w, h));
  ASSERT_EQ(w, 16);
  ASSERT_EQ(h, 16);
  ASSERT_EQ(rgbx.size(), 16u * 16u * 4u);
  EXPECT_GT(rgbx[2], 200);                  // row 0: the file's last row, blue
  EXPECT_LT(rgbx[0], 40);
  EXPECT_GT(rgbx[15 * 16 * 4 + 0], 200);    // row 15: the file's first row, red
  EXPECT_LT(rgbx[15 * 16 * 4 + 2], 40);

  std::vector<unsigned char> grey(8 * 8, 90);
  writeJpeg(dir.path("grey.jpg"), 8, 8, 1, grey);
  ASSERT_TRUE(decodeJpgFile(dir.path("grey.jpg"), rgbx, w, h));
  ASSERT_EQ(rgbx.size(), 8u * 8u * 4u);
  for (int i = 0; i < 64; i++) {
    ASSERT_NEAR(rgbx[i * 4], 90, 2);
    ASSERT_EQ(rgbx[i * 4 + 1], rgbx[i * 4]);
    ASSERT_EQ(rgbx[i * 4 + 2], rgbx[i * 4]);
  }
}

TEST(jpegDecoder, tellsAMissingFileFromABrokenOne) {
  scratchDir dir;
  std::vector<unsigned char> rgbx(5);
  int w = 1, h = 1;
  EXPECT_EQ(decodeJpg(dir.path("absent.jpg"), rgbx, w, h), jpegStatus::cannotOpen);
  EXPECT_EQ(decodeJpg(dir.write("text.jpg", "not a jpeg at all"), rgbx, w, h), jpegStatus::decodeError);
  EXPECT_EQ(decodeJpg(dir.write("empty.jpg", ""), rgbx, w, h), jpegStatus::decodeError);
  EXPECT_TRUE(rgbx.empty());
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
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

TEST(shaderSource, holdsTheBytesUnchangedFollowedByANul) {
  scratchDir dir;
  logCapture log;
  std::unique_ptr<char[]> text = readShaderSource(dir.write("s.cpp", "void main()\r\n{}\n"));
  ASSERT_TRUE(text);
  EXPECT_STREQ(text.get(), "void main()\r\n{}\n");
  text = readShaderSource(dir.write("empty.cpp", ""));
  ASSERT_TRUE(text);
  EXPECT_EQ(text[0], 0);
  EXPECT_TRUE(log.lines().empty());
  EXPECT_FALSE(readShaderSource(dir.path("absent.cpp")));
  EXPECT_FALSE(readShaderSource(dir.path("")));  // the folder itself
  EXPECT_EQ(log.lines(), (std::vector<std::string>(2, "Cannot open shader source file.")));
}

TEST(shaderSource, anIncludeLineStandsForTheFileBesideIt) {
  scratchDir dir;
  dir.write("piece.cpp", "uint hash(uint x) { return x; }\n");
  std::unique_ptr<char[]> text = readShaderSource(
      dir.write("main.cpp", "#version 430\n#include \"piece.cpp\"\n#include \"absent.cpp\"\nvoid main() {}\n"));
  ASSERT_TRUE(text);
  // a missing piece keeps its line for the compiler to point at
  EXPECT_STREQ(text.get(), "#version 430\nuint hash(uint x) { return x; }\n#include \"absent.cpp\"\nvoid main() {}\n");
}

TEST(velocityFile, whatTheFileLacksIsZero) {
  scratchDir dir;
  std::vector<float> data;
  EXPECT_EQ(readVelocityFile(dir.path("absent.dat"), data), 0);
  ASSERT_EQ(long(data.size()), VelocityFloats);
  float head[2] = {1.5f, -2.0f};
  EXPECT_EQ(readVelocityFile(dir.write("short.dat", std::string(reinterpret_cast<char*>(head), 8)), data), 8);
  EXPECT_EQ(data[0], 1.5f);
  EXPECT_EQ(data[1], -2.0f);
  EXPECT_EQ(data[2], 0.0f);
  EXPECT_EQ(data.back(), 0.0f);
}
