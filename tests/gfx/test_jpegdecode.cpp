// The JPEG decoder: bottom-up RGBX rows and grey as colour; damaged files
// (cut-off copies, stray bytes, headers patched to sizes no texture can
// have) are refused whole, each with a one-line reason.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/jpegdecode.h"
#include "tests/support/testfiles.h"

namespace {

// A colour image with detail in every block, so that each part of the file
// carries pixels.
std::string goodJpeg(const scratchDir& dir, int width, int height) {
  std::string noise = randomBytes(5, size_t(width) * height * 3);
  writeJpeg(dir.path("good.jpg"), width, height, 3, std::vector<unsigned char>(noise.begin(), noise.end()));
  return readFile(dir.path("good.jpg"));
}

struct result {
  jpegStatus status;
  std::string reason;
  std::vector<unsigned char> rgbx;
  int width = -1, height = -1;
};

result decodeBytes(const scratchDir& dir, const std::string& bytes) {
  result r;
  r.status = decodeJpg(dir.write("damaged.jpg", bytes), r.rgbx, r.width, r.height, &r.reason);
  return r;
}

// The frame header (SOF0): FF C0, length, precision, height, width.
std::string withSize(std::string jpeg, unsigned width, unsigned height) {
  size_t sof = jpeg.find("\xFF\xC0");
  if (sof == std::string::npos) return "";
  jpeg[sof + 5] = char(height >> 8), jpeg[sof + 6] = char(height & 0xFF);
  jpeg[sof + 7] = char(width >> 8), jpeg[sof + 8] = char(width & 0xFF);
  return jpeg;
}

}  // namespace

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
  EXPECT_GT(rgbx[2], 200);  // row 0: the file's last row, blue
  EXPECT_LT(rgbx[0], 40);
  EXPECT_GT(rgbx[15 * 16 * 4 + 0], 200);  // row 15: the file's first row, red
  EXPECT_LT(rgbx[15 * 16 * 4 + 2], 40);
  writeJpeg(dir.path("grey.jpg"), 8, 8, 1, std::vector<unsigned char>(8 * 8, 90));
  ASSERT_TRUE(decodeJpgFile(dir.path("grey.jpg"), rgbx, w, h));
  ASSERT_EQ(rgbx.size(), 8u * 8u * 4u);
  for (int i = 0; i < 64; i++) {
    ASSERT_NEAR(rgbx[i * 4], 90, 2);
    ASSERT_TRUE(rgbx[i * 4 + 1] == rgbx[i * 4] && rgbx[i * 4 + 2] == rgbx[i * 4]) << i;
  }
  std::string reason;
  EXPECT_EQ(decodeJpg(dir.path("absent.jpg"), rgbx, w, h, &reason), jpegStatus::cannotOpen);
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_TRUE(rgbx.empty());
  EXPECT_EQ(w + h, 0);
}

// No image with a grey band below the cut, whether the cut falls in the
// headers, the scan or just before the end-of-image marker; bytes that do
// not belong are corrupt data, which libjpeg would only warn about; a
// header claiming more than a texture can hold is refused before the pixel
// memory is asked for (65500 x 65500 would be 16 GiB), while the limits
// themselves pass the header check and fail only on the missing data.
TEST(jpegDecoder, damagedFilesAreRefusedWholeWithTheirReason) {
  scratchDir dir;
  std::string good = goodJpeg(dir, 32, 24);
  result whole = decodeBytes(dir, good);
  ASSERT_EQ(whole.status, jpegStatus::ok);
  EXPECT_EQ(whole.rgbx.size(), 32u * 24u * 4u);
  EXPECT_TRUE(whole.reason.empty());
  size_t scan = good.find("\xFF\xDA");
  ASSERT_NE(scan, std::string::npos);
  for (size_t n = 0; n < good.size(); n += n < scan ? 1 : 7) {
    SCOPED_TRACE(n);
    result cut = decodeBytes(dir, good.substr(0, n));
    ASSERT_EQ(cut.status, jpegStatus::decodeError);
    ASSERT_FALSE(cut.reason.empty());
    ASSERT_TRUE(cut.rgbx.empty());
  }
  std::string small = goodJpeg(dir, 16, 16), stray = small;
  stray.insert(small.find("\xFF\xDA"), "xyz");
  const unsigned tall = unsigned(MaxJpegPixels / MaxJpegSide);
  struct { std::string bytes, reason; } cases[] = {
      {good.substr(0, good.size() - 1), "Premature end of JPEG file"},
      {good.substr(0, scan + (good.size() - scan) / 2), "Premature end of JPEG file"},
      {stray, "Corrupt JPEG data: 3 extraneous bytes"},
      {"\xEF\xBB\xBF" + small, "Not a JPEG file"},
      {"", "Empty input file"},
      {withSize(small, 65500, 65500), "image of 65500 x 65500 pixels is larger than a texture can be"},
      {withSize(small, MaxJpegSide + 1, 8), "image of 16385 x 8 pixels"},
      {withSize(small, 8, MaxJpegSide + 1), "image of 8 x 16385 pixels"},
      {withSize(small, MaxJpegSide, tall + 1), "image of 16384 x 4097 pixels"},
      // the scan ends (at the end-of-image marker) before the rows do
      {withSize(small, MaxJpegSide, tall), "Corrupt JPEG data: premature end of data segment"},
      {withSize(small, 16, 17), "Corrupt JPEG data: premature end of data segment"}};
  for (const auto& c : cases) {
    result r = decodeBytes(dir, c.bytes);
    EXPECT_EQ(r.status, jpegStatus::decodeError) << c.reason;
    EXPECT_EQ(r.reason.substr(0, c.reason.size()), c.reason);
    EXPECT_TRUE(r.rgbx.empty()) << c.reason;
    EXPECT_EQ(r.width + r.height, 0) << c.reason;
  }
  // With the start-of-image marker in front, random bytes reach the marker
  // and segment parsers.
  for (unsigned seed = 1; seed <= 10; ++seed) {
    EXPECT_EQ(decodeBytes(dir, randomBytes(seed, 600)).status, jpegStatus::decodeError);
    EXPECT_EQ(decodeBytes(dir, "\xFF\xD8" + randomBytes(seed, 600)).status, jpegStatus::decodeError);
  }
}
