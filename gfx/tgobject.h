// tgobject.h -- a mesh point set: a polygon mesh read from a reduced OBJ file
// and sampled once into width x height target positions and colours for the
// particle grid, uploaded as two RGB16F textures. Point i sits at texel
// (i mod width, i div width); texels past the point count stay zero.
// The reader and the sampler use no GL, so they run without a context.
//
// The start-up (between pointSetsBegin and pointSetsEnd) samples ahead: a
// worker thread reads and samples the point sets the scenes will load, in
// their order, while the main thread compiles and uploads; each load takes
// its sampling when it gets there. Loads of the same file with the same
// arguments share one sampling and its textures (the obelisk serves four
// scenes), and host copies are reused from one load to the next.
#pragma once
#include <string>
#include <vector>

#include "geom/vec3.h"
#include "gfx/glnames.h"

class rendercontext;

// The arguments of one load.
struct pointSetRequest {
  std::string fileName;
  int width = 0, height = 0, rings = 0, density = 0;
  float r = 1, g = 1, b = 1;

  bool operator==(const pointSetRequest& o) const {
    return fileName == o.fileName && width == o.width && height == o.height && rings == o.rings &&
           density == o.density && r == o.r && g == o.g && b == o.b;
  }
};

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
  // "TGObject Maxcounter: ", calls the progress callback as sample does,
  // whether it samples itself or takes a sampling made ahead). The textures
  // are made before the sampling, their images uploaded after it; the
  // polygons and the host copies are emptied afterwards.
  void load(const std::string& fileName, int width, int height, int rings, int density, float r,
            float g, float b);
  void load(const pointSetRequest& request);

  // Reduced OBJ: "v x y z" vertices, then one run of faces "f n// n// ...";
  // other tokens are skipped. Faces with fewer than two corners or naming a
  // vertex that does not exist are dropped. A missing file reads as empty.
  void readMesh(const std::string& fileName);
  int polygonCount() const { return polygonStarts.empty() ? 0 : int(polygonStarts.size()) - 1; }
  void clearPolygons();

  // Sizes the host copies for a width x height grid and zeroes them.
  void allocate(int width, int height);
  // Empties the host copies (kept for reuse during the start-up).
  void releaseHostCopies();
  // Fills the host copies with `rings` shrinking outlines of every polygon,
  // density / 2 points per edge, scaled by 0.75, coloured (r, g, b) times a
  // fixed-light shade; wraps at capacity. Sets pointCount and returns the
  // number of points emitted before wrapping. Calls the progress callback
  // with 0.0525 every 15 polygons and logs "TGObject Maxcounter: ".
  long long sample(int rings, int density, float r, float g, float b);
  // The same without the log line; `progress` (may be null) takes the
  // callback's place. GL free and silent: what a worker thread runs.
  long long samplePoints(int rings, int density, float r, float g, float b, rendercontext* progress);
};

// The start-up's sampling ahead and sharing (see above). `ahead` lists the
// loads to come in their order (repeats and loads never made are harmless;
// a load that is not listed samples itself). The end waits for the worker
// and frees what was kept. Main thread; both are safe to repeat.
void pointSetsBegin(const std::vector<pointSetRequest>& ahead = {});
void pointSetsEnd();
// Waits until the worker has sampled as far ahead as it may and returns how
// many samplings wait for their loads (tests look at the worker this way).
int pointSetsSettle();
