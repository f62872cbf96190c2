// The JPEG decoder: grey as colour, files it gives up on refused whole with
// a one-line reason, damage it steps over delivered whole with a warning (the
// row order is checked through the textures).
#include <gtest/gtest.h>

#include "gfx/jpegdecode.h"
#include "tests/support/testfiles.h"

namespace {

struct result {
  jpegStatus status;
  std::string reason, warning;
  std::vector<unsigned char> rgbx;
  int width = -1, height = -1;
};

result decodeBytes(const scratchDir& dir, const std::string& bytes) {
  result r;
  r.status = decodeJpg(dir.write("damaged.jpg", bytes), r.rgbx, r.width, r.height, &r.reason, &r.warning);
  return r;
}

// Noise, so that each part of the file carries pixels.
std::string noiseJpeg(const scratchDir& dir, int width, int height) {
  std::string noise = randomBytes(5, size_t(width) * height * 3);
  writeJpeg(dir.path("good.jpg"), width, height, 3, std::vector<unsigned char>(noise.begin(), noise.end()));
  return readFile(dir.path("good.jpg"));
}

// The frame header (SOF0): FF C0, length, precision, height, width.
std::string withSize(std::string jpeg, unsigned width, unsigned height) {
  size_t sof = jpeg.find("\xFF\xC0");
  jpeg[sof + 5] = char(height >> 8), jpeg[sof + 6] = char(height & 0xFF);
  jpeg[sof + 7] = char(width >> 8), jpeg[sof + 8] = char(width & 0xFF);
  return jpeg;
}

// Where the entropy-coded data begins: after the start-of-scan segment
// (FF DA, then its length).
size_t scanData(const std::string& jpeg) {
  size_t sos = jpeg.find("\xFF\xDA");
  return sos + 2 + (size_t(uint8_t(jpeg[sos + 2])) << 8 | uint8_t(jpeg[sos + 3]));
}

}  // namespace

// A grey file comes out as colour; a missing file gives the system's reason.
TEST(jpegDecoder, deliversGreyAsColourAndTellsAMissingFile) {
  scratchDir dir;
  std::vector<unsigned char> rgbx;
  int w = 0, h = 0;
  writeJpeg(dir.path("grey.jpg"), 8, 8, 1, std::vector<unsigned char>(8 * 8, 90));
  ASSERT_TRUE(decodeJpgFile(dir.path("grey.jpg"), rgbx, w, h));
  ASSERT_EQ(rgbx.size(), 8u * 8u * 4u);
  for (int i = 0; i < 64; i++)
    ASSERT_TRUE(std::abs(rgbx[i * 4] - 90) <= 2 && rgbx[i * 4 + 1] == rgbx[i * 4] && rgbx[i * 4 + 2] == rgbx[i * 4]) << i;
  std::string reason;
  EXPECT_EQ(decodeJpg(dir.path("absent.jpg"), rgbx, w, h, &reason), jpegStatus::cannotOpen);
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_TRUE(rgbx.empty() && w == 0 && h == 0);
}

// A file cut before its start-of-scan marker has no image; a header claiming more than a
// texture holds is refused before the pixel memory is asked for (65500 x
// 65500 would be 16 GiB). Neither gives pixels, each gives its reason.
TEST(jpegDecoder, filesWithoutAnImageAreRefusedWholeWithTheirReason) {
  scratchDir dir;
  std::string good = noiseJpeg(dir, 32, 24), small = noiseJpeg(dir, 16, 16);
  size_t scan = good.find("\xFF\xDA");
  for (size_t n = 0; n <= scan + 1; ++n) {
    result cut = decodeBytes(dir, good.substr(0, n));
    ASSERT_TRUE(cut.status == jpegStatus::decodeError && !cut.reason.empty() && cut.rgbx.empty()) << n;
  }
  const unsigned tall = unsigned(MaxJpegPixels / MaxJpegSide);
  struct { std::string bytes, reason; } cases[] = {
      {"\xEF\xBB\xBF" + small, "Not a JPEG file"},
      {"", "Empty input file"},
      {withSize(small, 65500, 65500), "image of 65500 x 65500 pixels is larger than a texture can be"},
      {withSize(small, MaxJpegSide + 1, 8), "image of 16385 x 8 pixels"},
      {withSize(small, 8, MaxJpegSide + 1), "image of 8 x 16385 pixels"},
      {withSize(small, MaxJpegSide, tall + 1), "image of 16384 x 4097 pixels"}};
  for (const auto& c : cases) {
    result r = decodeBytes(dir, c.bytes);
    EXPECT_EQ(r.status, jpegStatus::decodeError) << c.reason;
    EXPECT_EQ(r.reason.substr(0, c.reason.size()), c.reason);
    EXPECT_TRUE(r.rgbx.empty() && r.width == 0 && r.height == 0 && r.warning.empty()) << c.reason;
  }
  for (unsigned seed = 1; seed <= 10; ++seed)  // with the start-of-image marker the bytes reach the segment parsers
    for (const std::string& start : {std::string(), std::string("\xFF\xD8")})
      EXPECT_EQ(decodeBytes(dir, start + randomBytes(seed, 600)).status, jpegStatus::decodeError) << seed;
}

// Damage inside the scan (a cut anywhere in it, bytes that do not belong) is
// stepped over: the whole image with the decoder's first warning, grey where
// the data ran out. A header at the limits passes and only warns about the
// missing data.
TEST(jpegDecoder, damageInTheScanGivesTheWholeImageWithAWarning) {
  scratchDir dir;
  std::string good = noiseJpeg(dir, 32, 24), small = noiseJpeg(dir, 16, 16), stray = small;
  result whole = decodeBytes(dir, good);
  ASSERT_EQ(whole.status, jpegStatus::ok);
  EXPECT_TRUE(whole.rgbx.size() == 32u * 24u * 4u && whole.reason.empty() && whole.warning.empty());
  size_t scan = good.find("\xFF\xDA"), data = scanData(good);
  for (size_t n = data; n < good.size(); n += 7) {
    result cut = decodeBytes(dir, good.substr(0, n));
    ASSERT_EQ(cut.status, jpegStatus::ok) << n << " " << cut.reason;
    ASSERT_TRUE(cut.rgbx.size() == 32u * 24u * 4u && cut.width == 32 && cut.height == 24) << n;
    ASSERT_FALSE(cut.warning.empty()) << n;
    for (int i = 0; n < data + 50 && i < 32 * 4; i++)  // the bottom row (first in the buffer) is past the cut
      ASSERT_TRUE(i % 4 == 3 || cut.rgbx[i] == 128) << n << " " << i;
  }
  stray.insert(small.find("\xFF\xDA"), "xyz");
  struct { std::string bytes, warning; int width, height; } cases[] = {
      {good.substr(0, good.size() - 1), "Premature end of JPEG file", 32, 24},
      {good.substr(0, scan + (good.size() - scan) / 2), "Premature end of JPEG file", 32, 24},
      {stray, "Corrupt JPEG data: 3 extraneous bytes", 16, 16},
      {withSize(small, 16, 17), "Corrupt JPEG data: premature end of data segment", 16, 17},
      {withSize(small, MaxJpegSide, unsigned(MaxJpegPixels / MaxJpegSide)),
       "Corrupt JPEG data: premature end of data segment", int(MaxJpegSide), int(MaxJpegPixels / MaxJpegSide)}};
  for (const auto& c : cases) {
    result r = decodeBytes(dir, c.bytes);
    EXPECT_EQ(r.status, jpegStatus::ok) << c.warning << ": " << r.reason;
    EXPECT_EQ(r.warning.substr(0, c.warning.size()), c.warning);
    EXPECT_TRUE(r.width == c.width && r.height == c.height && r.reason.empty()) << c.warning;
    EXPECT_EQ(r.rgbx.size(), size_t(c.width) * c.height * 4) << c.warning;
  }
}
