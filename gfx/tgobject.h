// tgobject.h -- a mesh point set: a polygon mesh read from a reduced OBJ file
// and sampled once into width x height target positions and colours for the
// particle grid, uploaded as two RGB16F textures. Point i sits at texel
// (i mod width, i div width); texels past the point count stay zero.
// The reader and the sampler use no GL, so they run without a context.
#pragma once
#include <string>
#include <vector>

#include "geom/vec3.h"
#include "gfx/glnames.h"

class rendercontext;

class TGObject {
public:
  GLuint positionTexture = 0, colorTexture = 0;
  // The polygons as read: polygon p has the corners
  // corners[polygonStarts[p]] ... corners[polygonStarts[p + 1] - 1].
  std::vector<vec3> corners;
  std::vector<int> polygonStarts;
  int width = 0, height = 0;  // capacity = width x height points
  int pointCount = 0;         // points of the last sampling, after wrapping
  std::vector<float> positions, colors;  // width x height x 3 floats each
  rendercontext* context = nullptr;      // for the progress callback; may be null

  // Reads, samples and uploads (logs "TGObject loading: " and
  // "TGObject Maxcounter: "); the polygons are emptied afterwards.
  void load(const std::string& fileName, int width, int height, int rings, int density, float r,
            float g, float b);

  // Reduced OBJ: "v x y z" vertices, then one run of faces "f n// n// ...";
  // other tokens are skipped. Faces with fewer than two corners or naming a
  // vertex that does not exist are dropped. A missing file reads as empty.
  void readMesh(const std::string& fileName);
  int polygonCount() const { return polygonStarts.empty() ? 0 : int(polygonStarts.size()) - 1; }
  void clearPolygons();

  // Sizes the host copies for a width x height grid and zeroes them.
  void allocate(int width, int height);
  // Fills the host copies with `rings` shrinking outlines of every polygon,
  // density / 2 points per edge, scaled by 0.75, coloured (r, g, b) times a
  // fixed-light shade; wraps at capacity. Sets pointCount and returns the
  // number of points emitted before wrapping. Calls the progress callback
  // with 0.0525 every 15 polygons.
  long long sample(int rings, int density, float r, float g, float b);
};
