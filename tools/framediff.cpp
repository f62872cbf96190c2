// framediff.cpp -- how far two frames of the same moment are apart, for
// holding one graphics driver's frames against another's.
//   obelisk_framediff A.png B.png [RADIUS]
// Both frames are blurred with a box of RADIUS pixels (default 2), then
// compared. Prints one line
//   mean 0.0123 differing 0.0456 dark 0 0 bright 0.0712 0.0698
// the mean absolute difference of the colour channels (0 ... 1), the share of
// pixels whose largest channel difference exceeds 10 %, and for each frame
// whether it is all but black (its brightest pixel under 4 %), and each
// frame's mean brightness (the mean of its colour channels, unblurred).
// Exit code 0, or 2 when a frame cannot be read or the sizes differ.
#include <cstdio>
#include <cstdlib>

#include "app/framecompare.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: obelisk_framediff A.png B.png [RADIUS]\n");
    return 2;
  }
  int radius = argc == 4 ? std::atoi(argv[3]) : 2;
  rgbImage a, b;
  frameDistance d;
  std::string error;
  if (!readRgbPng(argv[1], a, error) || !readRgbPng(argv[2], b, error) || !compareFrames(a, b, radius, d, error)) {
    std::fprintf(stderr, "obelisk_framediff: %s\n", error.c_str());
    return 2;
  }
  std::printf("mean %.4f differing %.4f dark %d %d bright %.4f %.4f\n", d.mean, d.share, d.darkA ? 1 : 0, d.darkB ? 1 : 0,
              d.brightA, d.brightB);
  return 0;
}
