// pointset_sample.cpp -- the ring sampler: a mesh's polygons into the host
// copies of a point set, GL free.
#include <algorithm>
#include <iostream>

#include "gfx/pointset_internal.h"
#include "gfx/rendercontext.h"

void logPointCount(int pointCount, int width, int height) {
  long long capacity = (long long)std::max(0, width) * std::max(0, height);
  std::cout << "TGObject Maxcounter: " << pointCount << "/ " << capacity << std::endl;
}

// Where the sampler writes: k wraps to 0 at capacity, later points overwrite.
struct pointWriter {
  float* positions;
  float* colors;
  int capacity;
  int k;
  long long emitted;

  // count points from a toward b (b itself excluded), evenly spaced.
  void segment(const vec3& a, const vec3& b, int count, const vec3& colour) {
    vec3 d = b - a;
    for (int i = 0; i < count; i++) {
      float t = float(i) / float(count);
      float* p = positions + size_t(k) * 3;
      float* c = colors + size_t(k) * 3;
      p[0] = a.x + d.x * t;
      p[1] = a.y + d.y * t;
      p[2] = a.z + d.z * t;
      c[0] = colour.x;
      c[1] = colour.y;
      c[2] = colour.z;
      if (++k == capacity) k = 0;
    }
    emitted += count;
  }
};

// One polygon: rings outlines shrunk toward the centroid by j / rings.
static void samplePolygon(const vec3* corner, int n, int rings, int perEdge, const vec3& tint,
                          pointWriter& out) {
  vec3 c;
  for (int m = 0; m < n; m++) c = c + corner[m];
  c = c / float(n);
  vec3 normal = cross(normalise(corner[0] - c), normalise(corner[1] - c));
  // A fixed light from (0.707, 0, 0.707), mapped from -1 ... 1 to 0 ... 1.
  float shade = float((0.707 * normal.x + 0.0 * normal.y + 0.707 * normal.z) * 0.5 + 0.5);
  vec3 colour = tint * shade;
  for (int j = 0; j < rings; j++) {
    float f = float(j) / float(rings);
    for (int m = 0; m < n; m++) {
      const vec3& p = corner[m];
      const vec3& q = corner[(m + 1) % n];
      vec3 a = (p + (c - p) * f) * 0.75f;
      vec3 b = (q + (c - q) * f) * 0.75f;
      out.segment(a, b, perEdge, colour);
    }
  }
}

long long TGObject::samplePoints(int rings, int density, float r, float g, float b, rendercontext* progress) {
  long long capacity = (long long)std::max(0, width) * std::max(0, height);
  if ((long long)positions.size() != capacity * 3 || colors.size() != positions.size())
    allocate(width, height);
  pointWriter out{positions.data(), colors.data(), int(capacity), 0, 0};
  int perEdge = int(density * 0.5);
  vec3 tint(r, g, b);
  for (int p = 0; p < polygonCount(); p++) {
    if (p % 15 == 0 && progress) progress->reportProgress(0.0525);
    int first = polygonStarts[p], n = polygonStarts[p + 1] - first;
    // No room for points, or a polygon without an edge (the reader drops those).
    if (capacity == 0 || n < 2) continue;
    samplePolygon(&corners[first], n, rings, perEdge, tint, out);
  }
  pointCount = out.k;
  return out.emitted;
}

long long TGObject::sample(int rings, int density, float r, float g, float b) {
  long long emitted = samplePoints(rings, density, r, g, b, context);
  logPointCount(pointCount, width, height);
  return emitted;
}
