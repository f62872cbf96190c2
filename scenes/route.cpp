// route.cpp -- shake track, text route and stroke frame readers, the uniform
// Catmull-Rom curve and its arc-length resampling.
#include "scenes/route.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fnmatch.h>
#include <iostream>

#include "geom/readfile.h"

// ---- curve ---------------------------------------------------------------------

static vec3 pointAt(const route& r, long i) {
  long n = long(r.points.size());
  if (r.closed) {
    i %= n;
    if (i < 0) i += n;
  } else {
    i = std::min(std::max(i, 0L), n - 1);
  }
  return r.points[size_t(i)];
}

void evaluate(const route& r, float u, vec3& out) {
  long n = long(r.points.size());
  if (n == 0) return;
  // A parameter that is no number (the arc length of a route holding an
  // infinity gives one) or lies past every long has no segment; it takes
  // an end point instead of reaching the integer conversion below.
  if (!(std::fabs(u) < 9.2e18f)) {
    out = u > 0 ? r.points.back() : r.points.front();
    return;
  }
  if (r.closed && u < 0) u += float(n) * 10000.0f;
  if (!r.closed && u > float(n)) { out = r.points.back(); return; }
  if (!r.closed && u < 0) { out = r.points.front(); return; }
  long i = long(u);
  float s = u - float(i);
  vec3 p0 = pointAt(r, i - 1), p1 = pointAt(r, i), p2 = pointAt(r, i + 1), p3 = pointAt(r, i + 2);
  vec3 m1 = (p2 - p0) * 0.5f, m2 = (p3 - p1) * 0.5f;
  vec3 a = p1 * 2.0f - p2 * 2.0f + m1 + m2;
  vec3 b = p2 * 3.0f - p1 * 3.0f - m1 * 2.0f - m2;
  out = (a * s + b) * (s * s) + m1 * s + p1;
}

static float distance(const vec3& a, const vec3& b) {
  vec3 d = a - b;
  return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

// Cumulative length along the curve, one entry per sample.
static std::vector<double> arcLengthTable(const route& r, int subSteps) {
  size_t n = r.points.size();
  std::vector<double> table(1, 0.0);
  if (subSteps < 2) {
    for (size_t i = 0; i < n; ++i)
      table.push_back(table.back() + distance(r.points[i], r.points[(i + 1) % n]));
    return table;
  }
  vec3 prev, cur;
  evaluate(r, 0.0f, prev);
  for (long k = 1; k <= long(n) * subSteps; ++k) {
    evaluate(r, float(k) / float(subSteps), cur);
    table.push_back(table.back() + distance(prev, cur));
    prev = cur;
  }
  return table;
}

void resample(route& r, int newCount, int subSteps) {
  if (r.points.size() < 4 || newCount < 1) return;
  std::vector<double> table = arcLengthTable(r, subSteps);
  float steps = float(std::max(subSteps, 1));
  double total = table.back();
  r.scratch.clear();
  size_t j = 0;
  for (int k = 0; k < newCount; ++k) {
    double s = double(k) / newCount * total;
    while (j + 2 < table.size() && table[j + 1] < s) ++j;
    double span = table[j + 1] - table[j];
    double local = (s - table[j]) / (span > 0.001 ? span : 0.001);
    vec3 p;
    evaluate(r, float((double(j) + local) / steps), p);
    r.scratch.push_back(p);
  }
  r.points.swap(r.scratch);
  r.scratch.clear();
  r.count = newCount;
  r.degree = 3;
  r.offset = 0;
  r.valuesA.clear();
  r.valuesB.clear();
}

// ---- shake track ------------------------------------------------------------------

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

// ---- text route ---------------------------------------------------------------------

// Numbers as the C scanner's %d and %f read them: leading whitespace (any
// line end among it) skipped, then the longest number the text holds. The
// count saturates instead of overflowing.
static bool scanCount(const char*& p, int& out) {
  char* after = nullptr;
  long v = std::strtol(p, &after, 10);
  if (after == p) return false;
  out = int(std::min(std::max(v, long(INT_MIN)), long(INT_MAX)));
  p = after;
  return true;
}

static bool scanFloat(const char*& p, float& out) {
  char* after = nullptr;
  float v = std::strtof(p, &after);
  if (after == p) return false;
  out = v;
  p = after;
  return true;
}

void readTextRoute(route& r, const char* name) {
  r.points.clear();
  r.valuesA.clear();
  r.valuesB.clear();
  r.count = 0;
  r.degree = 3;
  r.offset = 0;
  std::string text;
  if (!readWholeFile(name, text)) return;
  // The scanner stops at the first NUL byte, as the file reader did.
  const char* p = skipByteOrderMark(text).data();
  int n = 0;
  if (scanCount(p, n)) {
    for (int i = 0; i < n; ++i) {
      float x, y, z;
      if (!scanFloat(p, x) || !scanFloat(p, y) || !scanFloat(p, z)) break;
      r.points.push_back(vec3(x, y, z));
    }
  }
  r.count = int(r.points.size());
}

// ---- stroke frames -------------------------------------------------------------------

void listStrokeFrames(std::vector<std::string>& list, const char* pattern, const char* prefix,
                      bool clear) {
  if (clear) list.clear();
  std::string pat = pattern;
  size_t slash = pat.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : pat.substr(0, slash + 1);
  std::string leaf = slash == std::string::npos ? pat : pat.substr(slash + 1);
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* e = readdir(dir))
      if (fnmatch(leaf.c_str(), e->d_name, FNM_PERIOD) == 0) names.push_back(e->d_name);
    closedir(dir);
  }
  // The directory gives its entries in no particular order; the frames are
  // numbered and must play in order.
  std::sort(names.begin(), names.end());
  for (size_t i = 0; i < names.size(); ++i) {
    list.push_back(std::string(prefix) + names[i]);
    if (i > 0) std::cout << list.back() << std::endl;
  }
}

static int32_t readInt32(const unsigned char* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

static uint16_t readUint16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

static std::vector<unsigned char> readWholeFile(FILE* f) {
  std::vector<unsigned char> data;
  unsigned char buf[65536];
  size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + got);
  return data;
}

void readStrokeFrame(const char* name, std::vector<route>& strokes) {
  FILE* f = std::fopen(name, "rb");
  if (!f) return;
  std::vector<unsigned char> data = readWholeFile(f);
  std::fclose(f);
  strokes.clear();
  if (data.size() < 4) return;
  long strokeCount = readInt32(data.data());
  size_t at = 4;
  for (long s = 0; s < strokeCount; ++s) {
    if (data.size() - at < 4) return;
    long pointCount = readInt32(data.data() + at);
    // A negative count, or one that runs past the end, ends the frame here.
    if (pointCount < 0 || size_t(pointCount) > (data.size() - at - 4) / 6) return;
    at += 4;
    route stroke;
    stroke.points.reserve(size_t(pointCount));
    for (long i = 0; i < pointCount; ++i, at += 6) {
      const unsigned char* p = data.data() + at;
      stroke.points.push_back(vec3(float(int16_t(readUint16(p))) / 15000.0f,
                                   float(int16_t(readUint16(p + 2))) / 15000.0f,
                                   float(readUint16(p + 4)) / 255.0f));
    }
    stroke.count = int(pointCount);
    strokes.push_back(std::move(stroke));
  }
}

int strokeFrameIndex(double t) {
  float k = float(StrokeFramesPerSecond * t);
  if (!(k < float(LastStrokeFrame))) return LastStrokeFrame;
  return k < 0 ? int(std::max(k, -2147483648.0f)) : int(k);
}

std::string strokeFrameName(const std::vector<std::string>& list, int k) {
  if (list.empty()) return std::string();
  long n = long(list.size());
  long i = long(k) % n;
  if (i < 0) i += n;
  return list[size_t(i)];
}
