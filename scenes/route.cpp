// route.cpp -- the uniform Catmull-Rom curve of a route and its arc-length
// resampling. The file readers are route_shake.cpp, route_text.cpp and
// route_strokes.cpp.
#include "scenes/route.h"

#include <algorithm>
#include <cmath>

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
