// route_shake.cpp -- the shake track: its reader (28-byte records, closed
// into a loop and smoothed) and the sample lookup the cameras use.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "scenes/route.h"

// Replaces the last six records by a straight run from record n - 6 back to
// record 0, so that a track played in a loop has no jump.
static void closeShakeLoop(route& r) {
  size_t n = r.points.size();
  if (n <= 5) return;
  size_t b = n - 6;
  vec3 p = r.points[b], first = r.points[0];
  double a = r.valuesA[b], aFirst = r.valuesA[0], v = r.valuesB[b], vFirst = r.valuesB[0];
  for (size_t j = 0; j < 6; ++j) {
    float f = float(j) / 6.0f;
    r.points[b + j] = vec3(p.x + (first.x - p.x) * f, p.y + (first.y - p.y) * f, p.z + (first.z - p.z) * f);
    r.valuesA[b + j] = a + (aFirst - a) * (double(j) / 6.0);
    r.valuesB[b + j] = v + (vFirst - v) * (double(j) / 6.0);
  }
}

// Two-step smoothing of one value list: through `through` points and back.
// The list keeps its values when the track is too short for that (no
// intermediate point, or the round trip does not give n points back).
static void smoothValues(std::vector<double>& values, int through) {
  if (through < 1) return;
  route s;
  for (size_t i = 0; i < values.size(); ++i) s.points.push_back(vec3(float(i), float(values[i]), 0));
  s.count = int(values.size());
  resample(s, through, 3);
  resample(s, int(values.size()), 3);
  if (s.points.size() != values.size()) return;
  for (size_t i = 0; i < values.size(); ++i) values[i] = s.points[i].y;
}

// Past this size a record is damage, not motion: the curve arithmetic is
// single precision, and squared differences of larger numbers overflow it
// (the arc length turns infinite and then a curve parameter NaN).
constexpr double ShakeLimit = 1e18;

static bool plausibleShake(const float xyz[3], double a, double b) {
  for (double v : {double(xyz[0]), double(xyz[1]), double(xyz[2]), a, b})
    if (!(std::fabs(v) <= ShakeLimit)) return false;  // NaN fails too
  return true;
}

void readShakeTrack(route& r, const char* name) {
  FILE* f = std::fopen(name, "rb");
  if (!f) return;
  r.points.clear();
  r.valuesA.clear();
  r.valuesB.clear();
  unsigned char rec[28];
  while (std::fread(rec, 1, sizeof rec, f) == sizeof rec) {
    float xyz[3];
    double a, b;
    std::memcpy(xyz, rec, 12);
    std::memcpy(&a, rec + 12, 8);
    std::memcpy(&b, rec + 20, 8);
    if (!plausibleShake(xyz, a, b)) break;  // a damaged record ends the track
    r.points.push_back(vec3(xyz[0], xyz[1], xyz[2]));
    r.valuesA.push_back(a);
    r.valuesB.push_back(b);
  }
  std::fclose(f);
  int n = int(r.points.size());
  closeShakeLoop(r);

  // Smoothed through a fifth of its records and back. A track under 20
  // records has too few for that (a curve needs four points), and is kept
  // as it was read rather than shrunk to the first few.
  route s;
  s.points = r.points;
  s.count = n;
  if (n / 5 >= 4) {
    resample(s, n / 5, 3);
    resample(s, n, 3);
  }
  r.points = s.points;
  r.count = int(r.points.size());
  r.degree = 3;
  r.offset = 0;
  smoothValues(r.valuesB, n / 20);
  smoothValues(r.valuesA, n / 10);
}

long shakeIndex(const route& r, double index) {
  size_t n = r.points.size();
  if (n < 2) return -1;
  // Truncated toward zero to a signed 32-bit number, then read as unsigned.
  double clamped = std::min(std::max(index, -2147483648.0), 2147483647.0);
  uint32_t u = uint32_t(int32_t(clamped));
  return long(u % uint32_t(n - 1));
}

bool shakePoint(const route& r, double index, vec3& out) {
  long i = shakeIndex(r, index);
  out = i < 0 ? vec3() : r.points[size_t(i)];
  return i >= 0;
}
