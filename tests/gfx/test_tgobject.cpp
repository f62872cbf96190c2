// The mesh point set's reader and sampler, without GL.
#include <gtest/gtest.h>

#include <cmath>

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
  void expectPoint(int i, const vec3& p) {
    vec3 got(mesh.positions[i * 3], mesh.positions[i * 3 + 1], mesh.positions[i * 3 + 2]);
    EXPECT_LT(length(got - p), 2e-6f) << "point " << i << ": " << got.x << " " << got.y << " " << got.z;
  }
};

const char* triangle = "v 1 1 1\nv 3 1 1\nv 1 3 1\nf 1// 2// 3//\n";

}  // namespace

// A run of faces after the vertices, other tokens skipped; faces that cannot
// be sampled are dropped (vertex numbers start at 1, only three vertices
// exist, negatives, one corner), two corners are enough; the first failed
// read, a vertex after the faces, or a broken vertex end the reading.
TEST_F(meshTest, readsVerticesAndARunOfFaces) {
  const std::string three = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
  struct { std::string text; std::vector<int> starts; } cases[] = {
      {"# a comment\nmtllib none.mtl\no slab\nv 0 0 0\nv 1 0 0\nvn 0 0 1\nv 1 1 0\nv 0 1 0\n"
       "usemtl stone\nf 1// 2// 3// 4//\nf 3// 2// 1//\n", {0, 4, 7}},
      {three + "f 0// 1// 2//\nf 1// 2// 4//\nf -1// 1// 2//\nf 2//\nf 1// 2//\nf 1// 2// 3//\n", {0, 2, 5}},
      {three + "f 1// 2// 3// junk\nf 3// 2// 1//\n", {0, 3}},
      {three + "f 1// 2// 3//\nv 5 5 5\nf 3// 2// 1//\n", {0, 3}},
      {"v 0 0 0\nv 1 x 0\nv 0 1 0\nf 1// 2// 3//\n", {0}}};
  for (const auto& c : cases) {
    read(c.text);
    EXPECT_EQ(mesh.polygonStarts, c.starts) << c.text;
  }
  read(cases[0].text);
  EXPECT_LT(length(mesh.corners[4] - vec3(1, 1, 0)), 1e-6f);  // the second face, in file order
  EXPECT_LT(length(mesh.corners[5] - vec3(1, 0, 0)), 1e-6f);
}

TEST_F(meshTest, oneRingAtDensityTwoGivesTheCornersScaled) {
  read(triangle);
  mesh.allocate(4, 4);
  EXPECT_EQ(mesh.sample(1, 2, 1, 1, 1), 3);
  EXPECT_EQ(mesh.pointCount, 3);
  expectPoint(0, vec3(0.75f, 0.75f, 0.75f));
  expectPoint(1, vec3(2.25f, 0.75f, 0.75f));
  expectPoint(2, vec3(0.75f, 2.25f, 0.75f));
  expectPoint(3, vec3(0, 0, 0));  // past the count: untouched
  // Normal +z (unnormalised), light from (0.707, 0, 0.707): shade 0.5 + 0.3535 |n|.
  float shade = mesh.colors[0];
  EXPECT_TRUE(shade > 0.5f && shade < 1.0f) << shade;
  for (int i = 0; i < 9; i++) EXPECT_EQ(mesh.colors[i], shade);
  EXPECT_EQ(mesh.colors[9], 0.0f);
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"TGObject Maxcounter: 3/ 16"}));
}

TEST_F(meshTest, densityOneOrAMissingFileEmitNothing) {
  read(triangle);
  mesh.allocate(4, 4);
  EXPECT_EQ(mesh.sample(50, 1, 1, 1, 1), 0);
  EXPECT_EQ(mesh.pointCount, 0);
  for (float v : mesh.positions) ASSERT_EQ(v, 0.0f);
  TGObject missing;
  missing.readMesh("no//such//mesh.obj");
  EXPECT_EQ(missing.polygonCount(), 0);
  missing.allocate(4, 4);
  EXPECT_EQ(missing.sample(10, 10, 1, 1, 1), 0);
  EXPECT_EQ(log.lines(), (std::vector<std::string>(2, "TGObject Maxcounter: 0/ 16")));
}

TEST_F(meshTest, ringsShrinkTowardTheCentroidWithoutReachingIt) {
  read("v 0 0 0\nv 4 0 0\nv 4 4 0\nv 0 4 0\nf 1// 2// 3// 4//\n");
  mesh.allocate(16, 16);
  ASSERT_EQ(mesh.sample(4, 8, 1, 1, 1), 64);  // 4 rings x 4 edges x 4 points
  // Ring 0 is the outline: edge 0 at t = 0, 1/4, 2/4, 3/4, then edge 1 from corner 2.
  expectPoint(1, vec3(0.75f, 0, 0));
  expectPoint(3, vec3(2.25f, 0, 0));
  expectPoint(4, vec3(3, 0, 0));
  // Ring 3 starts three quarters of the way from corner 1 to the centroid (2, 2).
  expectPoint(48, vec3(1.5f * 0.75f, 1.5f * 0.75f, 0));
  for (int i = 0; i < 64; i++) {
    float dx = std::fabs(mesh.positions[i * 3] - 1.5f), dy = std::fabs(mesh.positions[i * 3 + 1] - 1.5f);
    EXPECT_GE(std::max(dx, dy), 0.375f - 1e-6f) << "point " << i;
  }
}

TEST_F(meshTest, pointsBeyondTheCapacityWrapAndOverwriteTheFirst) {
  read(triangle);
  mesh.allocate(2, 3);  // 2 rings x 3 edges x 1 point fill all six texels exactly
  EXPECT_EQ(mesh.sample(2, 2, 1, 1, 1), 6);
  EXPECT_EQ(mesh.pointCount, 0);
  for (int i = 0; i < 6; i++) EXPECT_NE(mesh.positions[i * 3 + 2], 0.0f) << "texel " << i;
  mesh.allocate(2, 2);  // two points too many: they land in texels 0 and 1
  EXPECT_EQ(mesh.sample(2, 2, 1, 1, 1), 6);
  EXPECT_EQ(mesh.pointCount, 2);
  // ring 1 of corner 2: half way to the centroid (5/3, 5/3, 1), scaled by 0.75
  expectPoint(0, vec3(7.0f / 3, 4.0f / 3, 1) * 0.75f);
  EXPECT_EQ(log.lines().back(), "TGObject Maxcounter: 2/ 4");
}
