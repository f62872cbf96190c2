// framecompare.cpp -- the distance of two frames (see framecompare.h).
#include "app/framecompare.h"

#include <png.h>

#include <algorithm>
#include <cmath>

bool readRgbPng(const std::string& path, rgbImage& image, std::string& error) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    error = "cannot read " + path;
    return false;
  }
  png.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> bytes(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) {
    png_image_free(&png);
    error = "cannot decode " + path;
    return false;
  }
  image.width = int(png.width);
  image.height = int(png.height);
  image.rgb.resize(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) image.rgb[i] = bytes[i] / 255.0f;
  return true;
}

bool writeRgbPng(const std::string& path, const rgbImage& image, std::string& error) {
  std::vector<unsigned char> bytes(image.rgb.size());
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = (unsigned char)std::lround(std::clamp(image.rgb[i], 0.0f, 1.0f) * 255);
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = unsigned(image.width);
  png.height = unsigned(image.height);
  png.format = PNG_FORMAT_RGB;
  bool ok = png_image_write_to_file(&png, path.c_str(), 0, bytes.data(), 0, nullptr) != 0;
  if (!ok) error = "cannot write " + path + ": " + png.message;
  png_image_free(&png);
  return ok;
}

// One box pass along x or y.
static void boxPass(rgbImage& f, int radius, bool alongX) {
  std::vector<float> out(f.rgb.size());
  int n = alongX ? f.width : f.height, lines = alongX ? f.height : f.width;
  for (int line = 0; line < lines; ++line)
    for (int i = 0; i < n; ++i)
      for (int c = 0; c < 3; ++c) {
        float sum = 0;
        for (int k = -radius; k <= radius; ++k) {
          int j = std::clamp(i + k, 0, n - 1);
          int x = alongX ? j : line, y = alongX ? line : j;
          sum += f.rgb[(size_t(y) * f.width + x) * 3 + c];
        }
        int x = alongX ? i : line, y = alongX ? line : i;
        out[(size_t(y) * f.width + x) * 3 + c] = sum / float(2 * radius + 1);
      }
  f.rgb.swap(out);
}

void boxBlur(rgbImage& image, int radius) {
  if (radius <= 0) return;
  boxPass(image, radius, true);
  boxPass(image, radius, false);
}

bool nearlyBlack(const rgbImage& image) {
  float brightest = 0;
  for (float v : image.rgb) brightest = std::max(brightest, v);
  return brightest < 0.04f;
}

double meanBrightness(const rgbImage& image) {
  double sum = 0;
  for (float v : image.rgb) sum += v;
  return image.rgb.empty() ? 0.0 : sum / double(image.rgb.size());
}

bool compareFrames(const rgbImage& a, const rgbImage& b, int radius, frameDistance& out, std::string& error) {
  if (a.width != b.width || a.height != b.height) {
    error = std::to_string(a.width) + " x " + std::to_string(a.height) + " against " + std::to_string(b.width) +
            " x " + std::to_string(b.height);
    return false;
  }
  out = frameDistance();
  out.darkA = nearlyBlack(a);
  out.darkB = nearlyBlack(b);
  out.brightA = meanBrightness(a);
  out.brightB = meanBrightness(b);
  rgbImage x = a, y = b;
  boxBlur(x, radius);
  boxBlur(y, radius);
  double sum = 0;
  long differing = 0, pixels = long(a.width) * a.height;
  for (long p = 0; p < pixels; ++p) {
    float worst = 0;
    for (int c = 0; c < 3; ++c) {
      float d = std::abs(x.rgb[p * 3 + c] - y.rgb[p * 3 + c]);
      sum += d;
      worst = std::max(worst, d);
    }
    if (worst > 0.1f) ++differing;
  }
  out.mean = pixels ? sum / (3.0 * double(pixels)) : 0.0;
  out.share = pixels ? double(differing) / double(pixels) : 0.0;
  return true;
}
