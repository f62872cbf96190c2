// The mesh point set's reader and sampler, without GL.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "gfx/rendercontext.h"
#include "gfx/tgobject.h"
#include "tests/support/testfiles.h"

namespace {

// A mesh written as text and read through the file reader; the log is kept.
class meshTest : public ::testing::Test {
protected:
  scratchDir dir;
  TGObject mesh;
  logCapture log;
  void read(const std::string& text) { mesh.readMesh(dir.write("mesh.obj", text)); }
};

vec3 pointAt(const TGObject& mesh, int i) {
  return vec3(mesh.positions[i * 3], mesh.positions[i * 3 + 1], mesh.positions[i * 3 + 2]);
}

void expectNear(const vec3& a, const vec3& b) {
  EXPECT_NEAR(a.x, b.x, 1e-6);
  EXPECT_NEAR(a.y, b.y, 1e-6);
  EXPECT_NEAR(a.z, b.z, 1e-6);
}

const char* triangle = "v 1 1 1\nv 3 1 1\nv 1 3 1\nf 1// 2// 3//\n";

}  // namespace

TEST_F(meshTest, readsVerticesAndARunOfFacesSkippingOtherTokens) {
  read("# a comment\nmtllib none.mtl\no slab\nv 0 0 0\nv 1 0 0\nvn 0 0 1\nv 1 1 0\nv 0 1 0\n"
       "usemtl stone\nf 1// 2// 3// 4//\nf 3// 2// 1//\n");
  ASSERT_EQ(mesh.polygonCount(), 2);
  EXPECT_EQ(mesh.polygonStarts, (std::vector<int>{0, 4, 7}));
  expectNear(mesh.corners[2], vec3(1, 1, 0));
  expectNear(mesh.corners[4], vec3(1, 1, 0));  // second face, file order
  expectNear(mesh.corners[5], vec3(1, 0, 0));
}

TEST_F(meshTest, dropsFacesThatCannotBeSampledAndKeepsTheRest) {
  read("v 0 0 0\nv 1 0 0\nv 0 1 0\n"
       "f 0// 1// 2//\n"    // vertex numbers start at 1
       "f 1// 2// 4//\n"    // only three vertices exist
       "f -1// 1// 2//\n"   // negative
       "f 2//\n"            // one corner
       "f 1// 2//\n"        // two corners are enough
       "f 1// 2// 3//\n");
  ASSERT_EQ(mesh.polygonCount(), 2);
  EXPECT_EQ(mesh.polygonStarts, (std::vector<int>{0, 2, 5}));
}

TEST_F(meshTest, stopsAtTheFirstFailedReadAndAtVerticesAfterFaces) {
  read("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1// 2// 3// junk\nf 3// 2// 1//\n");
  EXPECT_EQ(mesh.polygonCount(), 1);
  read("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1// 2// 3//\nv 5 5 5\nf 3// 2// 1//\n");
  EXPECT_EQ(mesh.polygonCount(), 1);
  read("v 0 0 0\nv 1 x 0\nv 0 1 0\nf 1// 2// 3//\n");  // a broken vertex ends it
  EXPECT_EQ(mesh.polygonCount(), 0);
}

TEST_F(meshTest, aMissingFileGivesNoPolygonsAndAZeroCount) {
  mesh.readMesh("no//such//mesh.obj");
  EXPECT_EQ(mesh.polygonCount(), 0);
  mesh.allocate(4, 4);
  EXPECT_EQ(mesh.sample(10, 10, 1, 1, 1), 0);
  EXPECT_EQ(mesh.pointCount, 0);
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"TGObject Maxcounter: 0/ 16"}));
}

TEST_F(meshTest, oneRingAtDensityTwoGivesTheCornersScaled) {
  read(triangle);
  mesh.allocate(4, 4);
  EXPECT_EQ(mesh.sample(1, 2, 1, 1, 1), 3);
  EXPECT_EQ(mesh.pointCount, 3);
  expectNear(pointAt(mesh, 0), vec3(0.75f, 0.75f, 0.75f));
  expectNear(pointAt(mesh, 1), vec3(2.25f, 0.75f, 0.75f));
  expectNear(pointAt(mesh, 2), vec3(0.75f, 2.25f, 0.75f));
  expectNear(pointAt(mesh, 3), vec3(0, 0, 0));  // past the count: untouched
  // Normal +z (unnormalised), light from (0.707, 0, 0.707): shade 0.5 + 0.3535 |n|.
  float shade = mesh.colors[0];
  EXPECT_GT(shade, 0.5f);
  EXPECT_LT(shade, 1.0f);
  for (int i = 0; i < 9; i++) EXPECT_EQ(mesh.colors[i], shade);
  EXPECT_EQ(mesh.colors[9], 0.0f);
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"TGObject Maxcounter: 3/ 16"}));
}

TEST_F(meshTest, densityOneEmitsNothing) {
  read(triangle);
  mesh.allocate(4, 4);
  EXPECT_EQ(mesh.sample(50, 1, 1, 1, 1), 0);
  EXPECT_EQ(mesh.pointCount, 0);
  for (float v : mesh.positions) ASSERT_EQ(v, 0.0f);
}

TEST_F(meshTest, ringsShrinkTowardTheCentroidWithoutReachingIt) {
  read("v 0 0 0\nv 4 0 0\nv 4 4 0\nv 0 4 0\nf 1// 2// 3// 4//\n");
  mesh.allocate(16, 16);
  // 4 rings x 4 edges x 4 points.
  ASSERT_EQ(mesh.sample(4, 8, 1, 1, 1), 64);
  // Ring 0 is the outline: edge 0 at t = 0, 1/4, 2/4, 3/4, then edge 1 from corner 2.
  expectNear(pointAt(mesh, 1), vec3(0.75f, 0, 0));
  expectNear(pointAt(mesh, 3), vec3(2.25f, 0, 0));
  expectNear(pointAt(mesh, 4), vec3(3, 0, 0));
  // Ring 3 starts three quarters of the way from corner 1 to the centroid (2, 2).
  expectNear(pointAt(mesh, 48), vec3(1.5f * 0.75f, 1.5f * 0.75f, 0));
  for (int i = 0; i < 64; i++) {
    vec3 d = pointAt(mesh, i) - vec3(1.5f, 1.5f, 0);
    EXPECT_GE(std::max(std::fabs(d.x), std::fabs(d.y)), 0.375f - 1e-6f) << "point " << i;
  }
}

TEST_F(meshTest, pointsBeyondTheCapacityWrapAndOverwriteTheFirst) {
  read(triangle);
  mesh.allocate(2, 3);  // 2 rings x 3 edges x 1 point fill all six texels exactly
  EXPECT_EQ(mesh.sample(2, 2, 1, 1, 1), 6);
  EXPECT_EQ(mesh.pointCount, 0);
  for (int i = 0; i < 6; i++) EXPECT_NE(pointAt(mesh, i).z, 0.0f) << "texel " << i;
  mesh.allocate(2, 2);  // two points too many: they land in texels 0 and 1
  EXPECT_EQ(mesh.sample(2, 2, 1, 1, 1), 6);
  EXPECT_EQ(mesh.pointCount, 2);
  vec3 c(5.0f / 3, 5.0f / 3, 1);
  vec3 ringOne1 = (vec3(3, 1, 1) + (c - vec3(3, 1, 1)) * 0.5f) * 0.75f;
  expectNear(pointAt(mesh, 0), ringOne1);
  EXPECT_EQ(log.lines().back(), "TGObject Maxcounter: 2/ 4");
}

TEST_F(meshTest, reportsProgressEveryFifteenPolygons) {
  std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
  for (int i = 0; i < 31; i++) text += "f 1// 2// 3//\n";
  read(text);
  ASSERT_EQ(mesh.polygonCount(), 31);
  static int calls;
  static double total;
  calls = 0;
  total = 0;
  auto context = std::make_unique<rendercontext>();
  context->progress = [](double amount) {
    calls++;
    total += amount;
  };
  mesh.context = context.get();
  mesh.allocate(8, 8);
  mesh.sample(1, 2, 1, 1, 1);
  EXPECT_EQ(calls, 3);  // polygons 0, 15 and 30
  EXPECT_NEAR(total, 3 * 0.0525, 1e-12);
  EXPECT_EQ(mesh.pointCount, 31 * 3 % 64);
}
