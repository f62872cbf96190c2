// image_canvas.cpp -- float planes, soft shapes, blur and tileable noise.
#include "content/image_canvas.h"

#include <algorithm>
#include <cmath>

#include "content/content.h"
#include "content/jpegwriter.h"

float plane::sample(float x, float y) const {
  x = std::min(std::max(x, 0.0f), float(width - 1));
  y = std::min(std::max(y, 0.0f), float(height - 1));
  int x0 = std::min(int(x), width - 2 < 0 ? 0 : width - 2), y0 = std::min(int(y), height - 2 < 0 ? 0 : height - 2);
  int x1 = std::min(x0 + 1, width - 1), y1 = std::min(y0 + 1, height - 1);
  float fx = x - float(x0), fy = y - float(y0);
  float top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * fx;
  float bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * fx;
  return top + (bottom - top) * fy;
}

// One box pass along a line of n values spaced by stride; edges clamp.
static void boxLine(float* line, int n, size_t stride, int r, std::vector<float>& tmp) {
  tmp.resize(size_t(n));
  float sum = 0;
  auto get = [&](int i) { return line[size_t(std::min(std::max(i, 0), n - 1)) * stride]; };
  for (int i = -r; i <= r; ++i) sum += get(i);
  float norm = 1.0f / float(2 * r + 1);
  for (int i = 0; i < n; ++i) {
    tmp[size_t(i)] = sum * norm;
    sum += get(i + r + 1) - get(i - r);
  }
  for (int i = 0; i < n; ++i) line[size_t(i) * stride] = tmp[size_t(i)];
}

void blurPlane(plane& p, float radius) {
  int r = std::max(1, int(std::lround(radius * 0.58f)));  // three passes of r approximate a Gaussian
  std::vector<float> tmp;
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < p.height; ++y) boxLine(&p.at(0, y), p.width, 1, r, tmp);
    for (int x = 0; x < p.width; ++x) boxLine(&p.at(x, 0), p.height, size_t(p.width), r, tmp);
  }
}

void addPlane(plane& p, const plane& q, float a) {
  for (size_t i = 0; i < p.v.size(); ++i) p.v[i] += a * q.v[i];
}

// Even-odd coverage of one sample point.
static bool inside(const std::vector<float>& xy, float px, float py) {
  bool in = false;
  size_t n = xy.size() / 2;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
    if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
  }
  return in;
}

void fillPolygon(plane& p, const std::vector<float>& xy, float weight) {
  if (xy.size() < 6) return;
  float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
  for (size_t i = 0; i < xy.size(); i += 2) {
    x0 = std::min(x0, xy[i]); x1 = std::max(x1, xy[i]);
    y0 = std::min(y0, xy[i + 1]); y1 = std::max(y1, xy[i + 1]);
  }
  int ix0 = std::max(0, int(x0)), iy0 = std::max(0, int(y0));
  int ix1 = std::min(p.width - 1, int(x1) + 1), iy1 = std::min(p.height - 1, int(y1) + 1);
  for (int y = iy0; y <= iy1; ++y)
    for (int x = ix0; x <= ix1; ++x) {
      int hits = 0;
      for (int s = 0; s < 16; ++s)
        hits += inside(xy, float(x) + (float(s % 4) + 0.5f) * 0.25f, float(y) + (float(s / 4) + 0.5f) * 0.25f);
      p.at(x, y) += weight * float(hits) / 16.0f;
    }
}

void addSoftDot(plane& p, float cx, float cy, float r, float a) {
  int reach = int(r * 3.0f) + 1;
  for (int y = std::max(0, int(cy) - reach); y <= std::min(p.height - 1, int(cy) + reach); ++y)
    for (int x = std::max(0, int(cx) - reach); x <= std::min(p.width - 1, int(cx) + reach); ++x) {
      float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
      p.at(x, y) += a * std::exp(-(dx * dx + dy * dy) / (r * r));
    }
}

void addLine(plane& p, float x0, float y0, float x1, float y1, float width, float a) {
  float dx = x1 - x0, dy = y1 - y0, len2 = std::max(dx * dx + dy * dy, 1e-6f);
  int bx0 = std::max(0, int(std::min(x0, x1) - width) - 1), bx1 = std::min(p.width - 1, int(std::max(x0, x1) + width) + 1);
  int by0 = std::max(0, int(std::min(y0, y1) - width) - 1), by1 = std::min(p.height - 1, int(std::max(y0, y1) + width) + 1);
  for (int y = by0; y <= by1; ++y)
    for (int x = bx0; x <= bx1; ++x) {
      float px = float(x) + 0.5f - x0, py = float(y) + 0.5f - y0;
      float t = std::min(std::max((px * dx + py * dy) / len2, 0.0f), 1.0f);
      float ex = px - t * dx, ey = py - t * dy;
      float d = std::sqrt(ex * ex + ey * ey);
      float cover = std::min(std::max(width * 0.5f - d + 0.5f, 0.0f), 1.0f);
      p.at(x, y) = std::max(p.at(x, y), a * cover);
    }
}

tileNoise::tileNoise(uint64_t seed, int px, int py) : periodX(px), periodY(py) {
  contentRng rng(seed);
  for (int i = 0; i < periodX * periodY; ++i) {
    double a = rng.range(0, 2 * M_PI);
    gx.push_back(float(std::cos(a)));
    gy.push_back(float(std::sin(a)));
  }
}

float tileNoise::at(float x, float y) const {
  float fx = std::floor(x), fy = std::floor(y);
  int ix = int(fx), iy = int(fy);
  float u = x - fx, w = y - fy;
  auto corner = [&](int cx, int cy) {
    int i = ((ix + cx) % periodX + periodX) % periodX, j = ((iy + cy) % periodY + periodY) % periodY;
    size_t k = size_t(j * periodX + i);
    return gx[k] * (u - float(cx)) + gy[k] * (w - float(cy));
  };
  float su = u * u * u * (u * (u * 6 - 15) + 10), sw = w * w * w * (w * (w * 6 - 15) + 10);
  float a = corner(0, 0) + (corner(1, 0) - corner(0, 0)) * su;
  float b = corner(0, 1) + (corner(1, 1) - corner(0, 1)) * su;
  return (a + (b - a) * sw) * 1.4f;
}

float tileNoise::fractal(float x, float y, int octaves, float gain) const {
  float sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * at(x, y);
    norm += amp;
    amp *= gain;
    x *= 2;
    y *= 2;
  }
  return sum / norm;
}

static uint8_t toByte(float f) {
  f = std::min(std::max(f, 0.0f), 1.0f);
  return uint8_t(std::lround(f * 255.0f));
}

bool savePlanes(const std::string& path, const plane& r, const plane& g, const plane& b) {
  std::vector<uint8_t> rgb(r.v.size() * 3);
  for (size_t i = 0; i < r.v.size(); ++i) {
    rgb[3 * i] = toByte(r.v[i]);
    rgb[3 * i + 1] = toByte(g.v[i]);
    rgb[3 * i + 2] = toByte(b.v[i]);
  }
  return writeJpeg(path, r.width, r.height, rgb.data(), 92);
}

bool saveGrey(const std::string& path, const plane& p) { return savePlanes(path, p, p, p); }
