// framediff.cpp -- how far two frames of the same moment are apart, for
// holding one graphics driver's frames against another's.
//   obelisk_framediff A.png B.png [RADIUS]
// Both frames are blurred with a box of RADIUS pixels (default 2: points may
// land a pixel apart on another rasterizer), then compared. Prints one line
//   mean 0.0123 differing 0.0456 dark 0 0
// the mean absolute difference of the colour channels (0 ... 1), the share of
// pixels whose largest channel difference exceeds 10 %, and for each frame
// whether it is all but black (its brightest pixel under 4 %).
// Exit code 0, or 2 when a frame cannot be read or the sizes differ.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct frame {
  int width = 0, height = 0;
  std::vector<float> rgb;  // width x height x 3, 0 ... 1
};

static bool readFrame(const char* path, frame& f) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path)) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  f.width = int(image.width);
  f.height = int(image.height);
  f.rgb.resize(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) f.rgb[i] = bytes[i] / 255.0f;
  return true;
}

// One box pass along x (step 3) or y (step 3 * width), clamped at the edges.
static void boxPass(frame& f, int radius, bool alongX) {
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

static void blur(frame& f, int radius) {
  if (radius <= 0) return;
  boxPass(f, radius, true);
  boxPass(f, radius, false);
}

static bool dark(const frame& f) {
  float brightest = 0;
  for (float v : f.rgb) brightest = std::max(brightest, v);
  return brightest < 0.04f;
}

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: obelisk_framediff A.png B.png [RADIUS]\n");
    return 2;
  }
  int radius = argc == 4 ? std::atoi(argv[3]) : 2;
  frame a, b;
  for (int i = 1; i <= 2; ++i)
    if (!readFrame(argv[i], i == 1 ? a : b)) {
      std::fprintf(stderr, "obelisk_framediff: cannot read %s\n", argv[i]);
      return 2;
    }
  if (a.width != b.width || a.height != b.height) {
    std::fprintf(stderr, "obelisk_framediff: %s is %d x %d, %s is %d x %d\n", argv[1], a.width, a.height, argv[2],
                 b.width, b.height);
    return 2;
  }
  bool darkA = dark(a), darkB = dark(b);
  blur(a, radius);
  blur(b, radius);
  double sum = 0;
  long differing = 0, pixels = long(a.width) * a.height;
  for (long p = 0; p < pixels; ++p) {
    float worst = 0;
    for (int c = 0; c < 3; ++c) {
      float d = std::abs(a.rgb[p * 3 + c] - b.rgb[p * 3 + c]);
      sum += d;
      worst = std::max(worst, d);
    }
    if (worst > 0.1f) ++differing;
  }
  std::printf("mean %.4f differing %.4f dark %d %d\n", pixels ? sum / (3.0 * pixels) : 0.0,
              pixels ? double(differing) / pixels : 0.0, darkA ? 1 : 0, darkB ? 1 : 0);
  return 0;
}
