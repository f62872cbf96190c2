// Meshes of the content generator's kit, written by its OBJ writers and read
// back by the program's loaders: the same objects, triangles and bounds,
// and as many sampled points as the generator plans the grids for.
#include <gtest/gtest.h>

#include <algorithm>

#include "content/objwriter.h"
#include "geom/objmesh.h"
#include "gfx/tgobject.h"
#include "tests/support/testfiles.h"

namespace {

// A slab turned about two axes, then a tilted ellipsoid, as two objects.
meshData twoObjects() {
  meshData m;
  m.beginObject("slab of stone");
  addBox(m, dvec(0.5, -1, 2), dvec(1.5, 0.25, 0.75), rot3::x(30) * rot3::z(-20), 0.4);
  m.beginObject("egg");
  addEllipsoid(m, dvec(-2, 1, 0), dvec(0.5, 1.25, 0.75), rot3::axisAngle(dvec(1, 1, 0), 45), 3);
  return m;
}

int trianglesOf(const meshData& m, size_t from, size_t to) {
  int n = 0;
  for (size_t i = from; i < to; ++i) n += int(m.faces[i].size()) - 2;
  return n;
}

}  // namespace

TEST(objWriter, aWrittenMeshLoadsWithItsObjectsTrianglesAndBounds) {
  meshData m = twoObjects();
  scratchDir dir;
  ASSERT_TRUE(writeObj(dir.path("two.obj"), m));
  objmesh loaded;
  logCapture quiet;
  loaded.load(dir.path("two.obj"));
  ASSERT_EQ(loaded.objectCount(), 2);
  EXPECT_EQ(loaded.positionCount, int(m.verts.size()));
  EXPECT_EQ(loaded.objectTriangles(0), trianglesOf(m, 0, m.objectStarts[1]));
  EXPECT_EQ(loaded.objectTriangles(1), trianglesOf(m, m.objectStarts[1], m.faces.size()));
  EXPECT_EQ(loaded.triangleCount, trianglesOf(m, 0, m.faces.size()));
  for (int k = 0; k < 3; ++k) {
    double lo = 1e9, hi = -1e9;
    for (const dvec& p : m.verts) lo = std::min(lo, (&p.x)[k]), hi = std::max(hi, (&p.x)[k]);
    float loadedLo = 1e9f, loadedHi = -1e9f;
    for (size_t i = size_t(k); i < loaded.positions.size(); i += 3)
      loadedLo = std::min(loadedLo, loaded.positions[i]), loadedHi = std::max(loadedHi, loaded.positions[i]);
    EXPECT_NEAR(loadedLo, lo, 1e-5) << "axis " << k;  // written with five decimals
    EXPECT_NEAR(loadedHi, hi, 1e-5) << "axis " << k;
  }
}

TEST(objWriter, aReducedMeshSamplesToThePointsTheGeneratorPlans) {
  meshData m = twoObjects();
  scratchDir dir;
  ASSERT_TRUE(writeReducedObj(dir.path("points.obj"), m));
  logCapture quiet;
  for (auto rd : {std::make_pair(3, 4), std::make_pair(5, 7), std::make_pair(1, 2)}) {
    TGObject t;
    t.readMesh(dir.path("points.obj"));
    ASSERT_EQ(t.polygonCount(), int(m.faces.size()));
    t.allocate(128, 128);
    EXPECT_EQ(t.sample(rd.first, rd.second, 1, 1, 1), sampledPoints(m, rd.first, rd.second))
        << rd.first << " rings, density " << rd.second;
  }
}
