// tgobject.cpp -- mesh point sets: a load and its texture uploads. The
// reader is in pointset_obj.cpp, the sampler in pointset_sample.cpp (the calls into it here), the
// start-up's sampling ahead and sharing in pointset_cache.cpp.
#include "gfx/tgobject.h"

#include <GL/glew.h>

#include <algorithm>
#include <iostream>

#include "gfx/pointset_internal.h"
#include "gfx/pointset_sample.h"
#include "gfx/rendercontext.h"

void logPointCount(int pointCount, int width, int height) {
  long long capacity = (long long)std::max(0, width) * std::max(0, height);
  std::cout << "TGObject Maxcounter: " << pointCount << "/ " << capacity << std::endl;
}

long long TGObject::samplePoints(int rings, int density, float r, float g, float b, rendercontext* progress) {
  long long capacity = (long long)std::max(0, width) * std::max(0, height);
  if ((long long)positions.size() != capacity * 3 || colors.size() != positions.size())
    allocate(width, height);
  ringSampling in{corners.data(), polygonStarts.data(), polygonCount(), rings, density, vec3(r, g, b),
                  positions.data(), colors.data(), int(capacity), progress};
  return sampleRings(in, pointCount);
}

long long TGObject::sample(int rings, int density, float r, float g, float b) {
  long long emitted = samplePoints(rings, density, r, g, b, context);
  logPointCount(pointCount, width, height);
  return emitted;
}

// A texture for a point set, its image still to come.
static void createFloatTexture(GLuint& texture) {
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

static void uploadFloats(GLuint texture, int width, int height, const std::vector<float>& data) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB16F, width, height, 0, GL_RGB, GL_FLOAT, data.data());
}

void TGObject::load(const std::string& fileName, int w, int h, int rings, int density, float r, float g,
                    float b) {
  load(pointSetRequest{fileName, w, h, rings, density, r, g, b});
}

void TGObject::load(const pointSetRequest& q) {
  width = q.width;
  height = q.height;
  std::cout << "TGObject loading: " << q.fileName << std::endl;
  const sharedPointSet* same = findSharedPointSet(q);
  long long emitted = 0;
  int polygons = 0;
  bool sampledHere = false;
  clearPolygons();
  if (same) {
    // The textures of the first such load, which nothing writes to.
    positionTexture = same->positionTexture;
    colorTexture = same->colorTexture;
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    pointCount = same->pointCount;
    emitted = same->emitted;
    polygons = same->polygons;
  } else {
    createFloatTexture(positionTexture);
    createFloatTexture(colorTexture);
    if (!takeAheadSampling(q, *this, emitted, polygons)) {
      allocate(width, height);
      readMesh(q.fileName);
      polygons = polygonCount();  // for sharing
      emitted = sample(q.rings, q.density, q.r, q.g, q.b);  // logs the count itself
      sampledHere = true;
    }
  }
  // A sampling made elsewhere: the progress calls and the log line it would have made.
  if (!sampledHere) {
    for (int p = 0; p < polygons; p += 15)
      if (context) context->reportProgress(0.0525);
    logPointCount(pointCount, width, height);
  }
  // An empty or unreadable mesh would leave the particles with nowhere to go
  // and the scene blank; say so where it is seen.
  if (emitted == 0)
    std::cerr << "obelisk: warning: point set \"" << q.fileName << "\" yields no points" << std::endl;
  clearPolygons();
  if (same) return;
  uploadFloats(positionTexture, width, height, positions);
  uploadFloats(colorTexture, width, height, colors);
  releaseHostCopies();
  keepSharedPointSet({q, positionTexture, colorTexture, pointCount, emitted, polygons});
}
