// pointset_sample.h -- the ring sampler: a mesh's polygons into the host
// copies of a point set, GL free (a worker thread runs it too).
#pragma once
#include "geom/vec3.h"

class rendercontext;

struct ringSampling {
  const vec3* corners;  // polygon p: corners[starts[p]] ... corners[starts[p + 1] - 1]
  const int* starts;
  int polygons;
  int rings, density;   // `rings` shrinking outlines, density / 2 points an edge
  vec3 tint;            // the colour, times a fixed-light shade
  float* positions;     // capacity x 3 floats each; the writing wraps at capacity
  float* colors;
  int capacity;
  rendercontext* progress;  // called with 0.0525 every 15 polygons; may be null
};

// Fills the host copies; `kept` is the points written after wrapping. Returns
// the number of points emitted before wrapping.
long long sampleRings(const ringSampling& in, int& kept);
