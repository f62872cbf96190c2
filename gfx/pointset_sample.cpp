// pointset_sample.cpp -- the ring sampler: a mesh's polygons into the host
// copies of a point set, GL free.
#include <algorithm>

#include "gfx/pointset_sample.h"
#include "gfx/rendercontext.h"

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

long long sampleRings(const ringSampling& in, int& kept) {
  pointWriter out{in.positions, in.colors, in.capacity, 0, 0};
  int perEdge = int(in.density * 0.5);
  for (int p = 0; p < in.polygons; p++) {
    if (p % 15 == 0 && in.progress) in.progress->reportProgress(0.0525);
    int first = in.starts[p], n = in.starts[p + 1] - first;
    // No room for points, or a polygon without an edge (the reader drops those).
    if (in.capacity == 0 || n < 2) continue;
    samplePolygon(&in.corners[first], n, in.rings, perEdge, in.tint, out);
  }
  kept = out.k;
  return out.emitted;
}
