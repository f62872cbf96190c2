// jpeg_damaged_test.cpp -- the JPEG decoder on damaged files: cut-off
// copies, stray bytes, headers patched to sizes no texture can have, and the
// one-line reason each failure gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/jpegdecode.h"
#include "platform/crandom.h"
#include "tests/support/testfiles.h"

namespace {

// A colour image with detail in every block, so that each part of the file
// carries pixels.
std::string goodJpeg(const scratchDir& dir, int width, int height) {
  std::vector<unsigned char> rgb(size_t(width) * height * 3);
  cSrand(5);
  for (unsigned char& b : rgb) b = static_cast<unsigned char>(cRand() & 0xFF);
  writeJpeg(dir.path("good.jpg"), width, height, 3, rgb);
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

void expectRefused(const result& r, const std::string& reasonStart) {
  EXPECT_EQ(r.status, jpegStatus::decodeError);
  EXPECT_EQ(r.reason.substr(0, reasonStart.size()), reasonStart) << r.reason;
  EXPECT_TRUE(r.rgbx.empty());
  EXPECT_EQ(r.width, 0);
  EXPECT_EQ(r.height, 0);
}

// The frame header (SOF0): FF C0, length, precision, height, width.
size_t frameHeader(const std::string& jpeg) {
  size_t at = jpeg.find("\xFF\xC0");
  return at == std::string::npos ? 0 : at;
}

std::string withSize(std::string jpeg, unsigned width, unsigned height) {
  size_t sof = frameHeader(jpeg);
  jpeg[sof + 5] = char(height >> 8), jpeg[sof + 6] = char(height & 0xFF);
  jpeg[sof + 7] = char(width >> 8), jpeg[sof + 8] = char(width & 0xFF);
  return jpeg;
}

}  // namespace

// Each cut-off copy fails as a whole: no image with a grey band below the
// cut, whether the cut falls in the headers, the scan or just before the
// end-of-image marker.
TEST(jpegDamaged, everyCutOffCopyIsRefused) {
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
  expectRefused(decodeBytes(dir, good.substr(0, good.size() - 1)), "Premature end of JPEG file");
  expectRefused(decodeBytes(dir, good.substr(0, scan + (good.size() - scan) / 2)), "Premature end of JPEG file");
}

// Bytes that do not belong are corrupt data, which libjpeg would only warn
// about.
TEST(jpegDamaged, strayBytesAndRandomFilesAreRefused) {
  scratchDir dir;
  std::string good = goodJpeg(dir, 16, 16);
  std::string stray = good;
  stray.insert(good.find("\xFF\xDA"), "xyz");
  expectRefused(decodeBytes(dir, stray), "Corrupt JPEG data: 3 extraneous bytes");
  expectRefused(decodeBytes(dir, "\xEF\xBB\xBF" + good), "Not a JPEG file");
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    cSrand(seed);
    std::string bytes(600, '\0');
    for (char& c : bytes) c = char(cRand() & 0xFF);
    // With the start-of-image marker in front, the random rest reaches the
    // marker and segment parsers.
    EXPECT_EQ(decodeBytes(dir, bytes).status, jpegStatus::decodeError);
    EXPECT_EQ(decodeBytes(dir, "\xFF\xD8" + bytes).status, jpegStatus::decodeError);
  }
}

// A header claiming more than a texture can hold is refused before the
// pixel memory is asked for (65500 x 65500 would be 16 GiB); the limits
// themselves still pass the header check and fail only on the missing data.
TEST(jpegDamaged, headersBeyondATextureAreRefused) {
  scratchDir dir;
  std::string good = goodJpeg(dir, 16, 16);
  ASSERT_NE(frameHeader(good), 0u);
  expectRefused(decodeBytes(dir, withSize(good, 65500, 65500)),
                "image of 65500 x 65500 pixels is larger than a texture can be");
  expectRefused(decodeBytes(dir, withSize(good, MaxJpegSide + 1, 8)), "image of 16385 x 8 pixels");
  expectRefused(decodeBytes(dir, withSize(good, 8, MaxJpegSide + 1)), "image of 8 x 16385 pixels");
  unsigned tall = unsigned(MaxJpegPixels / MaxJpegSide);
  expectRefused(decodeBytes(dir, withSize(good, MaxJpegSide, tall + 1)), "image of 16384 x 4097 pixels");
  // The scan ends (at the end-of-image marker) before the rows do.
  expectRefused(decodeBytes(dir, withSize(good, MaxJpegSide, tall)), "Corrupt JPEG data: premature end of data segment");
  expectRefused(decodeBytes(dir, withSize(good, 16, 17)), "Corrupt JPEG data: premature end of data segment");
}

TEST(jpegDamaged, aFileThatCannotBeOpenedGivesTheSystemsReason) {
  scratchDir dir;
  std::vector<unsigned char> rgbx;
  int w = 0, h = 0;
  std::string reason;
  EXPECT_EQ(decodeJpg(dir.path("absent.jpg"), rgbx, w, h, &reason), jpegStatus::cannotOpen);
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_EQ(decodeJpg(dir.write("empty.jpg", ""), rgbx, w, h, &reason), jpegStatus::decodeError);
  EXPECT_EQ(reason, "Empty input file");
}
