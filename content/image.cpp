// image.cpp -- recipes of the image family: the loader picture, the particle
// blob, cloud noise, the two title cards, the logo and the brush texture.
// All are light on black: the scenes add them onto dark frames.
#include <algorithm>
#include <cmath>

#include "content/content.h"
#include "content/font.h"
#include "content/image_canvas.h"

void addDoveRecipes(std::vector<recipe>& out);  // image_dove.cpp

// Smooth falloff from 1 at the centre to exactly 0 at radius 1.
static float softDisc(float r) {
  float q = std::max(0.0f, 1.0f - r * r);
  return q * q * q;
}

// The obelisk's outline: a tapered shaft and a pyramid cap, centred on cx,
// standing on baseY, in pixels.
static std::vector<float> obeliskOutline(float cx, float baseY, float height) {
  float halfBase = height * 0.075f, halfTop = height * 0.052f, shaftTop = baseY - height * 0.88f;
  return {cx - halfBase, baseY, cx + halfBase, baseY, cx + halfTop, shaftTop, cx, baseY - height,
          cx - halfTop, shaftTop};
}

static bool makeBlob(const std::string& path) {
  const int n = 256;
  plane p(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      float dx = (float(x) + 0.5f) / n * 2 - 1, dy = (float(y) + 0.5f) / n * 2 - 1;
      float r = std::sqrt(dx * dx + dy * dy);
      p.at(x, y) = softDisc(r) * (0.35f + 0.65f * std::exp(-r * r * 9.0f));
    }
  return saveGrey(path, p);
}

static bool makeCloud(const std::string& path) {
  const int n = 512;
  tileNoise noise(0xC10D, 8, 8);
  plane p(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      float f = noise.fractal(float(x) / n * 8, float(y) / n * 8, 6, 0.55f);
      float v = std::min(std::max(0.5f + 0.75f * f, 0.0f), 1.0f);
      p.at(x, y) = v * v * (3 - 2 * v);
    }
  return saveGrey(path, p);
}

// Light points scattered inside the obelisk's outline with a soft halo, in a
// round vignette so that the square's corners stay black.
static bool makeLoader(const std::string& path) {
  const int n = 512;
  plane p(n, n), shape(n, n);
  std::vector<float> outline = obeliskOutline(n * 0.5f, n * 0.8f, n * 0.6f);
  for (size_t k = 0; k < outline.size(); k += 2) outline[k] = n * 0.5f + (outline[k] - n * 0.5f) * 1.5f;
  fillPolygon(shape, outline, 1.0f);
  contentRng rng(0x10ADE7);
  for (int i = 0; i < 30000; ++i) {
    float x = float(rng.range(0, n)), y = float(rng.range(0, n));
    if (shape.sample(x, y) < 0.5f) continue;
    addSoftDot(p, x, y, float(rng.range(0.7, 1.6)), float(rng.range(0.22, 0.7)));
  }
  plane glow = shape;
  blurPlane(glow, 26.0f);
  addPlane(p, glow, 0.55f);
  addPlane(p, shape, 0.18f);
  for (int i = 0; i < 260; ++i)  // faint dust around it
    addSoftDot(p, float(rng.range(0, n)), float(rng.range(0, n)), 0.9f, float(rng.range(0.05, 0.3)));
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      float dx = (float(x) + 0.5f) / n * 2 - 1, dy = (float(y) + 0.5f) / n * 2 - 1;
      p.at(x, y) *= softDisc(std::sqrt(dx * dx + dy * dy) * 1.02f);
    }
  plane warm = p;
  for (float& v : warm.v) v *= 0.9f;
  return savePlanes(path, p, p, warm);
}

// Text with a faint halo, in a warm white.
static bool saveTitle(const std::string& path, plane& text) {
  plane halo = text;
  blurPlane(halo, 14.0f);
  addPlane(text, halo, 0.45f);
  plane r = text, g = text, b = text;
  for (float& v : g.v) v *= 0.97f;
  for (float& v : b.v) v *= 0.9f;
  return savePlanes(path, r, g, b);
}

static bool makeTitlePresents(const std::string& path) {
  plane p(1280, 720);
  fontFace maker("DejaVuSans-ExtraLight.ttf", 118), line("DejaVuSerif-Italic.ttf", 40);
  if (!maker.ok() || !line.ok()) return false;
  float track = 34, w = maker.measure("VELTRA", track);
  float base = 360 + maker.capHeight() * 0.5f - 30;
  maker.draw(p, "VELTRA", 640 - w * 0.5f, base, track, 1.0f);
  float w2 = line.measure("presents", 3);
  line.draw(p, "presents", 640 - w2 * 0.5f, base + 84, 3, 0.85f);
  return saveTitle(path, p);
}

static bool makeTitleObelisk(const std::string& path) {
  plane p(1280, 720);
  fontFace title("DejaVuSans.ttf", 124);
  if (!title.ok()) return false;
  float track = 46, w = title.measure("OBELISK", track), cap = title.capHeight();
  title.draw(p, "OBELISK", 640 - w * 0.5f, 360 + cap * 0.5f, track, 1.0f);
  for (int x = 0; x < 1280; ++x) {  // two hairlines that fade towards their ends
    float u = (float(x) - 640) / (w * 0.62f), a = 0.7f * softDisc(u);
    for (int dy = 0; dy < 2; ++dy) {
      p.at(x, int(360 - cap * 0.5f - 46) + dy) += a * (dy ? 0.4f : 1.0f);
      p.at(x, int(360 + cap * 0.5f + 44) + dy) += a * (dy ? 0.4f : 1.0f);
    }
  }
  return saveTitle(path, p);
}

static bool makeLogo(const std::string& path) {
  const int n = 512;
  plane p(n, n);
  for (int y = 0; y < n; ++y)  // a thin ring
    for (int x = 0; x < n; ++x) {
      float d = std::hypot(float(x) + 0.5f - n * 0.5f, float(y) + 0.5f - n * 0.5f);
      p.at(x, y) += std::max(0.0f, 1.0f - std::fabs(d - n * 0.43f) / 2.2f);
    }
  std::vector<float> outline = obeliskOutline(n * 0.5f, n * 0.7f, n * 0.5f);
  plane shape(n, n);
  fillPolygon(shape, outline, 1.0f);
  for (int y = 0; y < n; ++y)  // the slab lit from above, fading to its foot
    for (int x = 0; x < n; ++x) shape.at(x, y) *= 0.45f + 0.55f * (1.0f - float(y) / n);
  addPlane(p, shape, 1.0f);
  fontFace name("DejaVuSans.ttf", 34);
  if (!name.ok()) return false;
  float w = name.measure("OBELISK", 14);
  name.draw(p, "OBELISK", n * 0.5f - w * 0.5f, n * 0.81f, 14, 0.95f);
  plane halo = p;
  blurPlane(halo, 10.0f);
  addPlane(p, halo, 0.4f);
  // The intro draws the image on a square quad (on a 16:9 window) whose upper
  // fifth lies above the window: the emblem fills the lower four fifths, a
  // tenth in from either side, so that it shows whole and square.
  plane framed(n, n);
  for (int y = int(n * 0.2f); y < n; ++y)
    for (int x = int(n * 0.1f); x < int(n * 0.9f); ++x)
      framed.at(x, y) = p.sample((float(x) + 0.5f - n * 0.1f) / 0.8f - 0.5f, (float(y) + 0.5f - n * 0.2f) / 0.8f - 0.5f);
  return saveGrey(path, framed);
}

// Bristle streaks running along x (tileable in x), with a ragged, soft edge
// across y and dry-brush gaps. Green carries the coverage (it becomes alpha).
static bool makeBrush(const std::string& path) {
  const int w = 512, h = 256;
  tileNoise streaks(0xB125, 4, 64), gaps(0x6A95, 4, 8), edge(0xED6E, 8, 1);
  plane p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float u = float(x) / w, v = (float(y) + 0.5f) / h * 2 - 1;
      float rag = 0.08f * edge.fractal(u * 8, 0.5f, 3, 0.5f);
      float s = (float(y) + 0.5f) / h;
      float across = std::max(0.0f, 1.0f - std::pow(std::fabs(v) / (0.86f + rag), 6.0f));
      float bristle = 0.62f + 0.38f * streaks.fractal(u * 4, s * 64, 3, 0.5f);
      float dry = std::min(std::max(0.85f + 0.9f * gaps.fractal(u * 4, s * 8, 4, 0.5f), 0.0f), 1.0f);
      p.at(x, y) = across * bristle * (0.55f + 0.45f * dry);
    }
  return saveGrey(path, p);
}

// The authoring overlay's font: the printable ASCII characters 32 ... 127 in
// a grid of 16 x 6 cells of 24 x 32 pixels, the baseline a quarter of
// a cell above each cell's foot, white on black.
static bool makeOverlayFont(const std::string& path) {
  const int cellW = 24, cellH = 32;
  plane p(16 * cellW, 6 * cellH);
  fontFace mono("DejaVuSansMono.ttf", 22);
  if (!mono.ok()) return false;
  for (int c = 32; c < 128; ++c) {
    std::string glyph(1, char(c));
    int col = (c - 32) % 16, row = (c - 32) / 16;
    float x = float(col * cellW) + (float(cellW) - mono.measure(glyph, 0)) * 0.5f;
    mono.draw(p, glyph, x, float(row * cellH + cellH * 3 / 4), 0, 1.0f);
  }
  return saveGrey(path, p);
}

void addImageRecipes(std::vector<recipe>& out) {
  out.push_back({"textures/theloader.jpg", makeLoader});
  out.push_back({"textures/blob41b.jpg", makeBlob});
  out.push_back({"textures/cloudt1.jpg", makeCloud});
  out.push_back({"textures/Intro1a.jpg", makeTitlePresents});
  out.push_back({"textures/Intro2a.jpg", makeTitleObelisk});
  out.push_back({"textures/obelisk_logo2.jpg", makeLogo});
  out.push_back({"textures/tex1.jpg", makeBrush});
  out.push_back({"textures/overlay_font.jpg", makeOverlayFont});
  addDoveRecipes(out);
}
