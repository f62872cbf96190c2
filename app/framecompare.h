// framecompare.h -- how far two frames of the same moment are apart, for
// holding one graphics driver's frames against another's. Both frames are
// blurred with a small box first: points may land a pixel apart on another
// rasterizer.
#pragma once
#include <string>
#include <vector>

struct rgbImage {
  int width = 0, height = 0;
  std::vector<float> rgb;  // width x height x 3, 0 ... 1, rows top down
};

struct frameDistance {
  double mean = 0;    // mean absolute difference of the colour channels, 0 ... 1
  double share = 0;   // share of pixels whose largest channel difference exceeds 10 %
  bool darkA = false, darkB = false;  // all but black: the brightest channel under 4 %
  double brightA = 0, brightB = 0;    // each frame's mean of the colour channels, 0 ... 1
};

// Reads a PNG as RGB; false, with the reason, when it cannot.
bool readRgbPng(const std::string& path, rgbImage& image, std::string& error);
// Writes it as an RGB PNG; false, with the reason, when it cannot.
bool writeRgbPng(const std::string& path, const rgbImage& image, std::string& error);
// A box blur of `radius` pixels along x, then y, clamped at the edges.
void boxBlur(rgbImage& image, int radius);
bool nearlyBlack(const rgbImage& image);
// The mean of the colour channels, 0 ... 1 (0 for an empty image).
double meanBrightness(const rgbImage& image);
// The distance of two frames of one size after a blur of `radius` (the
// frames are copied). False, with the reason, when the sizes differ.
bool compareFrames(const rgbImage& a, const rgbImage& b, int radius, frameDistance& out, std::string& error);
