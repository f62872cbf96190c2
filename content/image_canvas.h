// image_canvas.h -- float image planes for the image recipes: soft shapes,
// blur, tileable noise, and the conversion to a JPEG file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One channel of floats, rows from the top, usually 0 ... 1.
class plane {
public:
  int width = 0, height = 0;
  std::vector<float> v;
  plane(int w, int h) : width(w), height(h), v(size_t(w) * size_t(h), 0.0f) {}
  float& at(int x, int y) { return v[size_t(y) * size_t(width) + size_t(x)]; }
  float at(int x, int y) const { return v[size_t(y) * size_t(width) + size_t(x)]; }
  float sample(float x, float y) const;  // bilinear, clamped at the borders
};

// Gaussian-like blur (three box passes each way) of the given radius in pixels.
void blurPlane(plane& p, float radius);
// Adds a * q into p (same size).
void addPlane(plane& p, const plane& q, float a);
// Coverage of a filled polygon (pixel coordinates), 4 x 4 samples per pixel,
// added into p with the given weight.
void fillPolygon(plane& p, const std::vector<float>& xy, float weight);
// A soft round dot: exp(-d^2 / r^2) * a.
void addSoftDot(plane& p, float cx, float cy, float r, float a);
// Anti-aliased line of the given width, added with weight a.
void addLine(plane& p, float x0, float y0, float x1, float y1, float width, float a);

// Smooth periodic gradient noise in -1 ... 1; the periods are in lattice
// cells, so an image that spans whole periods tiles.
class tileNoise {
public:
  tileNoise(uint64_t seed, int periodX, int periodY);
  float at(float x, float y) const;
  // Sum of octaves, each twice the frequency and gain times the amplitude.
  float fractal(float x, float y, int octaves, float gain) const;
private:
  int periodX, periodY;
  std::vector<float> gx, gy;
};

// Writes r, g, b planes (0 ... 1, clamped) as a JPEG of quality 92.
bool savePlanes(const std::string& path, const plane& r, const plane& g, const plane& b);
// A grey image: the same plane in all three channels.
bool saveGrey(const std::string& path, const plane& p);
