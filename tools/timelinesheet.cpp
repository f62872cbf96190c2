// timelinesheet.cpp -- the whole production at a glance: one small frame
// every ten seconds of demo time from an offline capture, each labelled with
// its demo time and scene.
//   obelisk_timelinesheet FRAMEDIR FPS OUT.png
//   obelisk_timelinesheet --handovers FPS
// FRAMEDIR holds frame_NNNNNN.png of a capture from demo time 0 at FPS
// frames a second.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver/timeline.h"

namespace {

const int tileW = 160, tileH = 100, columns = 8, gap = 4;
const char* sceneNames[] = {"START", "INTRO", "REALLIFE", "CITY", "MANTIS", "END", "END"};

struct image {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

bool readPng(const std::string& file, image& out) {
  png_image p = {};
  p.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&p, file.c_str())) return false;
  p.format = PNG_FORMAT_RGB;
  out.width = int(p.width);
  out.height = int(p.height);
  out.rgb.resize(PNG_IMAGE_SIZE(p));
  return png_image_finish_read(&p, nullptr, out.rgb.data(), 0, nullptr) != 0;
}

// 5 x 7 glyphs, one row a byte, bit 4 leftmost: only what the labels use.
struct glyph {
  char c;
  unsigned char rows[7];
};
const glyph font[] = {
    {'0', {14, 17, 19, 21, 25, 17, 14}}, {'1', {4, 12, 4, 4, 4, 4, 14}},   {'2', {14, 17, 1, 2, 4, 8, 31}},
    {'3', {30, 1, 1, 14, 1, 1, 30}},     {'4', {2, 6, 10, 18, 31, 2, 2}},  {'5', {31, 16, 30, 1, 1, 17, 14}},
    {'6', {6, 8, 16, 30, 17, 17, 14}},   {'7', {31, 1, 2, 4, 8, 8, 8}},    {'8', {14, 17, 17, 14, 17, 17, 14}},
    {'9', {14, 17, 17, 15, 1, 2, 12}},   {'A', {14, 17, 17, 31, 17, 17, 17}}, {'C', {14, 17, 16, 16, 16, 17, 14}},
    {'D', {30, 17, 17, 17, 17, 17, 30}}, {'E', {31, 16, 16, 30, 16, 16, 31}}, {'F', {31, 16, 16, 30, 16, 16, 16}},
    {'I', {14, 4, 4, 4, 4, 4, 14}},      {'L', {16, 16, 16, 16, 16, 16, 31}}, {'M', {17, 27, 21, 21, 17, 17, 17}},
    {'N', {17, 25, 21, 19, 17, 17, 17}}, {'O', {14, 17, 17, 17, 17, 17, 14}}, {'R', {30, 17, 17, 30, 20, 18, 17}},
    {'S', {15, 16, 16, 14, 1, 1, 30}},   {'T', {31, 4, 4, 4, 4, 4, 4}},    {'Y', {17, 17, 10, 4, 4, 4, 4}},
    {'s', {0, 0, 14, 16, 14, 1, 30}},    {' ', {0, 0, 0, 0, 0, 0, 0}},
};

void drawText(image& sheet, int x, int y, const std::string& text) {
  for (char c : text) {
    const glyph* g = nullptr;
    for (const glyph& f : font)
      if (f.c == c) g = &f;
    for (int row = 0; row < 9 && g; ++row)
      for (int col = 0; col < 7; ++col) {
        int px = x + col - 1, py = y + row - 1;
        if (px < 0 || py < 0 || px >= sheet.width || py >= sheet.height) continue;
        bool on = row >= 1 && row <= 7 && col >= 1 && col <= 5 && (g->rows[row - 1] >> (5 - col)) & 1;
        unsigned char* p = &sheet.rgb[(size_t(py) * sheet.width + px) * 3];
        for (int k = 0; k < 3; ++k) p[k] = on ? 255 : p[k] / 3;  // white on a darkened box
      }
    x += 6;
  }
}

// A box-filtered copy of the frame into its tile.
void placeTile(image& sheet, const image& frame, int x0, int y0) {
  for (int y = 0; y < tileH; ++y)
    for (int x = 0; x < tileW; ++x) {
      int fx0 = x * frame.width / tileW, fx1 = std::max(fx0 + 1, (x + 1) * frame.width / tileW);
      int fy0 = y * frame.height / tileH, fy1 = std::max(fy0 + 1, (y + 1) * frame.height / tileH);
      for (int k = 0; k < 3; ++k) {
        int sum = 0, n = 0;
        for (int fy = fy0; fy < fy1; ++fy)
          for (int fx = fx0; fx < fx1; ++fx, ++n) sum += frame.rgb[(size_t(fy) * frame.width + fx) * 3 + k];
        sheet.rgb[(size_t(y0 + y) * sheet.width + x0 + x) * 3 + k] = (unsigned char)(sum / std::max(n, 1));
      }
    }
}

}  // namespace

int main(int argc, char** argv) {
  // --handovers FPS: the demo times of the hand-overs, as the sections' own
  // clocks give them at that frame rate and at a fine step.
  if (argc == 3 && std::string(argv[1]) == "--handovers") {
    std::vector<double> atRate = simulateTimeline(1.0 / std::atof(argv[2])), fine = simulateTimeline(1.0 / 240.0);
    for (size_t i = 0; i < atRate.size() && i < fine.size() && i < 5; ++i)
      std::printf("%zu %.3f %.3f\n", i + 1, atRate[i], fine[i]);
    return 0;
  }
  if (argc != 4) {
    std::fprintf(stderr, "usage: obelisk_timelinesheet FRAMEDIR FPS OUT.png | --handovers FPS\n");
    return 2;
  }
  std::string dir = argv[1];
  double fps = std::atof(argv[2]);
  std::vector<double> handOvers = simulateTimeline(1.0 / 120.0);
  int tiles = 46;  // 0, 10, ... 450 s
  int rows = (tiles + columns - 1) / columns;
  image sheet;
  sheet.width = columns * (tileW + gap) + gap;
  sheet.height = rows * (tileH + gap) + gap;
  sheet.rgb.assign(size_t(sheet.width) * sheet.height * 3, 24);
  int placed = 0;
  for (int i = 0; i < tiles; ++i) {
    double t = 10.0 * i;
    char name[64];
    std::snprintf(name, sizeof name, "/frame_%06d.png", int(std::lround(t * fps)));
    image frame;
    if (!readPng(dir + name, frame) && !readPng(dir + "/frame_000000.png", frame)) continue;
    int x0 = gap + (i % columns) * (tileW + gap), y0 = gap + (i / columns) * (tileH + gap);
    placeTile(sheet, frame, x0, y0);
    int scene = int(std::upper_bound(handOvers.begin(), handOvers.end(), t) - handOvers.begin());
    drawText(sheet, x0 + 3, y0 + 3, std::to_string(int(t)) + "s " + sceneNames[std::min(scene, 6)]);
    ++placed;
  }
  png_image out = {};
  out.version = PNG_IMAGE_VERSION;
  out.width = png_uint_32(sheet.width);
  out.height = png_uint_32(sheet.height);
  out.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&out, argv[3], 0, sheet.rgb.data(), 0, nullptr)) {
    std::fprintf(stderr, "obelisk_timelinesheet: cannot write %s\n", argv[3]);
    return 1;
  }
  std::printf("%d frames on %s\n", placed, argv[3]);
  // Every frame after the first second must show something, but the end
  // scene's last second, which fades to black, and the idle time after it,
  // and a section's first second, which may open from black (the drawing's
  // first motes are born dark), timed by the sections' own clocks at the
  // capture's rate (a coarse rate hands over later than a fine one).
  double blackFrom = handOvers.size() >= 6 ? handOvers[5] - 1.5 : 1e9;
  std::vector<double> atRate = simulateTimeline(1.0 / fps);
  auto opening = [&](double t) {
    for (double at : atRate)
      if (t >= at && t < at + 1.0 + 1.0 / fps) return true;
    return false;
  };
  std::string black;
  for (int k = 0;; ++k) {
    char name[64];
    std::snprintf(name, sizeof name, "/frame_%06d.png", k);
    image frame;
    if (!readPng(dir + name, frame)) break;
    double t = k / fps;
    if (t <= 1.0 || t >= blackFrom || opening(t)) continue;
    int brightest = *std::max_element(frame.rgb.begin(), frame.rgb.end());
    if (brightest < 12) black += " " + std::to_string(t);
  }
  if (!black.empty()) std::printf("black:%s\n", black.c_str());
  return placed > 0 ? 0 : 1;
}
