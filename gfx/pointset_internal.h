// pointset_internal.h -- what the point set sources share among themselves
// (tgobject.cpp, pointset_obj.cpp, pointset_sample.cpp, pointset_cache.cpp);
// nothing outside gfx/ includes it.
#pragma once
#include "gfx/tgobject.h"

// The log line of a sampling: "TGObject Maxcounter: <points>/ <capacity>".
void logPointCount(int pointCount, int width, int height);

// What a load needs to repeat an earlier one's without sampling: its
// textures and the counts of its log line and progress calls.
struct sharedPointSet {
  pointSetRequest request;
  GLuint positionTexture, colorTexture;
  int pointCount;
  long long emitted;
  int polygons;
};

// During the start-up: the latest kept load with the same request, or null
// (always null outside the start-up). The pointer holds until the next keep.
const sharedPointSet* findSharedPointSet(const pointSetRequest& q);
// Keeps a load for later ones with the same request; ignored outside the start-up.
void keepSharedPointSet(const sharedPointSet& s);

// Moves the worker's sampling of the request into `into` (host copies and
// point count) with its counts, waiting for it if it is under way; false when
// the load must sample itself (no worker, not listed, or not begun).
bool takeAheadSampling(const pointSetRequest& q, TGObject& into, long long& emitted, int& polygons);
