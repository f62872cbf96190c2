// mantis_strokes.cpp -- the stroke frames "Routes//prs_0000.rt" ...
// "prs_1580.rt": a praying mantis on a twig, drawn by hand stroke by stroke
// over 88 seconds at 18 frames per second. Each frame holds the drawing so
// far: the finished strokes and the stroke under the pen once it has 16
// points. Stroke 0 of every frame is a placeholder that is never drawn.
//
// The drawing is authored as control polylines in the frame's units (x, y
// within about +-1, the mantis facing left); each is smoothed, resampled to
// an even pen step, given a slight tremor and a pressure curve, and timed by
// its length at the pen's speed with pauses between strokes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "content/content.h"
#include "content/mantis_drawing.h"

namespace {

constexpr int FrameCount = 1581;
constexpr double FramesPerSecond = 18;
constexpr double PenStep = 0.008;     // distance between recorded points
constexpr double DrawStart = 1.0;     // seconds: the pen touches down
constexpr double DrawEnd = 82.0;      // seconds: the last stroke ends

struct penPoint {
  int16_t x, y;
  uint16_t pressure;
  double time;
};

using recording = std::vector<std::vector<penPoint>>;

// Uniform Catmull-Rom through the control points, densely sampled.
std::vector<xy> smoothLine(const std::vector<xy>& c) {
  std::vector<xy> out;
  size_t n = c.size();
  for (size_t i = 0; i + 1 < n; ++i) {
    xy p0 = c[i ? i - 1 : 0], p1 = c[i], p2 = c[i + 1], p3 = c[std::min(i + 2, n - 1)];
    for (int k = 0; k < 24; ++k) {
      double s = k / 24.0, s2 = s * s, s3 = s2 * s;
      auto f = [&](double a, double b, double cc, double d) {
        return 0.5 * (2 * b + (cc - a) * s + (2 * a - 5 * b + 4 * cc - d) * s2 + (3 * b - a - 3 * cc + d) * s3);
      };
      out.push_back({f(p0.x, p1.x, p2.x, p3.x), f(p0.y, p1.y, p2.y, p3.y)});
    }
  }
  out.push_back(c.back());
  return out;
}

// Points at an even step along the line (at least 16).
std::vector<xy> evenSteps(const std::vector<xy>& line) {
  std::vector<double> len(1, 0.0);
  for (size_t i = 1; i < line.size(); ++i)
    len.push_back(len.back() + std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y));
  int n = std::max(16, int(len.back() / PenStep) + 1);
  std::vector<xy> out;
  size_t j = 0;
  for (int k = 0; k < n; ++k) {
    double s = len.back() * k / (n - 1);
    while (j + 2 < len.size() && len[j + 1] < s) ++j;
    double span = std::max(len[j + 1] - len[j], 1e-12), u = std::min(1.0, (s - len[j]) / span);
    out.push_back({line[j].x + (line[j + 1].x - line[j].x) * u, line[j].y + (line[j + 1].y - line[j].y) * u});
  }
  return out;
}

// The pen's slight tremor across the line and its pressure along it.
std::vector<penPoint> penStroke(const std::vector<xy>& line, double pressure, contentRng& rng) {
  double a = rng.range(18, 30), b = rng.range(50, 80), c = rng.range(8, 16);
  double p1 = rng.range(0, 6.3), p2 = rng.range(0, 6.3), p3 = rng.range(0, 6.3);
  std::vector<penPoint> out;
  size_t n = line.size();
  for (size_t i = 0; i < n; ++i) {
    xy prev = line[i ? i - 1 : 0], next = line[std::min(i + 1, n - 1)];
    double dx = next.x - prev.x, dy = next.y - prev.y, len = std::max(std::hypot(dx, dy), 1e-9);
    double s = PenStep * double(i), u = double(i) / double(n - 1);
    double shift = 0.0022 * std::sin(a * s + p1) + 0.0012 * std::sin(b * s + p2);
    double x = line[i].x - dy / len * shift, y = line[i].y + dx / len * shift;
    double envelope = std::pow(std::min(1.0, u / 0.12), 0.7) * std::pow(std::min(1.0, (1 - u) / 0.2), 0.8);
    double z = pressure * (0.25 + 0.75 * envelope) * (1 + 0.06 * std::sin(c * s + p3));
    out.push_back({int16_t(std::lround(std::clamp(x, -2.0, 2.0) * 15000)),
                   int16_t(std::lround(std::clamp(y, -2.0, 2.0) * 15000)),
                   uint16_t(std::lround(std::clamp(z, 0.0, 1.0) * 255)), 0.0});
  }
  return out;
}

// Records every stroke and gives each point the time the pen passes it; the
// whole drawing is stretched to run from DrawStart to DrawEnd.
recording recordDrawing() {
  std::vector<authoredStroke> drawing = mantisDrawing();
  contentRng rng(0x3A27);
  recording rec;
  std::vector<double> pauses, durations;
  double total = 0;
  for (const authoredStroke& s : drawing) {
    rec.push_back(penStroke(evenSteps(smoothLine(s.points)), s.pressure, rng));
    pauses.push_back(s.pause * rng.range(0.8, 1.25));
    durations.push_back(PenStep * double(rec.back().size() - 1) / s.speed + 0.12);
    total += pauses.back() + durations.back();
  }
  double scale = (DrawEnd - DrawStart) / total, t = DrawStart;
  for (size_t k = 0; k < rec.size(); ++k) {
    t += pauses[k] * scale;
    size_t n = rec[k].size();
    for (size_t i = 0; i < n; ++i) {
      double u = double(i) / double(n - 1);
      // The pen eases in and out: slower at both ends of the stroke.
      rec[k][i].time = t + durations[k] * scale * (u - std::sin(2 * M_PI * u) / (2 * M_PI) * 0.5);
    }
    t += durations[k] * scale;
  }
  return rec;
}

const recording& theRecording() {
  static const recording rec = recordDrawing();
  return rec;
}

void putBytes(std::vector<unsigned char>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

void putStroke(std::vector<unsigned char>& out, const std::vector<penPoint>& s, size_t n) {
  putBytes(out, uint32_t(n), 4);
  for (size_t i = 0; i < n; ++i) {
    putBytes(out, uint16_t(s[i].x), 2);
    putBytes(out, uint16_t(s[i].y), 2);
    putBytes(out, s[i].pressure, 2);
  }
}

// Frame k: the placeholder, every stroke finished by k / 18 s, and the
// stroke under the pen once it has 16 points.
std::vector<unsigned char> frameBytes(int k) {
  const recording& rec = theRecording();
  double now = k / FramesPerSecond;
  std::vector<std::pair<size_t, size_t>> shown;  // stroke, points
  for (size_t s = 0; s < rec.size(); ++s) {
    size_t n = 0;
    while (n < rec[s].size() && rec[s][n].time <= now) ++n;
    if (n >= 16) shown.push_back({s, n});
    if (n < rec[s].size()) break;
  }
  std::vector<unsigned char> out;
  putBytes(out, uint32_t(shown.size() + 1), 4);
  std::vector<penPoint> placeholder(16, penPoint{0, 0, 0, 0.0});
  putStroke(out, placeholder, placeholder.size());
  for (auto& [s, n] : shown) putStroke(out, rec[s], n);
  return out;
}

bool makeFrame(const std::string& path) {
  // The frame number is the four digits before ".rt".
  if (path.size() < 7) return false;
  int k = std::atoi(path.substr(path.size() - 7, 4).c_str());
  std::vector<unsigned char> bytes = frameBytes(k);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

void addMantisRecipes(std::vector<recipe>& out) {
  static std::vector<std::string> names;
  if (names.empty())
    for (int k = 0; k < FrameCount; ++k) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "Routes//prs_%04d.rt", k);
      names.push_back(buf);
    }
  for (const std::string& n : names) out.push_back({n.c_str(), makeFrame});
}
