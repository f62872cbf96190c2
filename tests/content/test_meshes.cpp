// The baked meshes and the walker, read back with the program's own
// loaders: point sets fill their grids, the walk loops in place with the
// limb table's joints and limbs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "geom/objmesh.h"
#include "geom/skeleton.h"
#include "gfx/tgobject.h"
#include "tests/support/testfiles.h"

namespace {

std::string data(const std::string& name) { return std::string(OBELISK_DATA_DIR) + "/" + name; }

float matrixDistance(const mat4& a, const mat4& b) {
  float d = 0;
  for (int i = 0; i < 16; ++i) d = std::max(d, std::fabs(a.m[i] - b.m[i]));
  return d;
}

}  // namespace

// With the rings and densities the scenes load them with, each set fills
// most of its grid without wrapping; scaled by the sampler's 0.75 it spans
// a few units: big enough to fill the frame from 7 units away, small
// enough to stay in it.
TEST(pointSets, fillMostOfTheirGridWithoutWrapping) {
  struct { const char* file; int grid, rings, density; } sets[] = {
      {"newobjects//obelisk.obj", 1536, 450, 450}, {"newobjects//DNA.obj", 1536, 100, 40},
      {"newobjects//fish.obj", 1536, 80, 40},      {"newobjects//bird.obj", 1536, 80, 50},
      {"newobjects//sphere2.obj", 1536, 15, 38},   {"newobjects//baby.obj", 1536, 18, 20},
      {"newobjects//veltra.obj", 1536, 33, 33},    {"newobjects//swing.obj", 512, 30, 6},
      {"newobjects//logo.obj", 512, 30, 30}};
  for (auto s : sets) {
    SCOPED_TRACE(s.file);
    TGObject t;
    t.readMesh(data(s.file));
    ASSERT_GT(t.polygonCount(), 0);
    t.allocate(s.grid, s.grid);
    long long emitted = t.sample(s.rings, s.density, 1, 1, 1), capacity = (long long)s.grid * s.grid;
    EXPECT_GE(emitted, capacity * 6 / 10);
    EXPECT_LE(emitted, capacity * 11 / 10);
    EXPECT_EQ(t.pointCount, emitted % capacity);
    float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
    for (long long i = 0; i < std::min(emitted, capacity); ++i)
      for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], t.positions[3 * i + k]), hi[k] = std::max(hi[k], t.positions[3 * i + k]);
    float span = std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]});
    EXPECT_TRUE(span > 1.5f && span < 5.0f) << span;
  }
}

// Frames 1 ... 14 are one stride: the file repeats it, so the figure's loop
// 14 -> 1 is the step 14 -> 15 of the motion itself, and no larger than the
// stride's other frame steps; the root never travels.
TEST(walker, loopsSeamlesslyInPlaceWithTheLimbTableJoints) {
  skeleton s(data("newneomeshes//avatar_female_walk.bvh"));
  ASSERT_NE(s.root, nullptr);
  EXPECT_EQ(s.root->name, "hip");
  ASSERT_GE(s.frameCount, 29);
  std::set<std::string> names;
  for (const joint* j : s.motionJoints) {
    names.insert(j->name);
    EXPECT_EQ(j->channels.size(), j == s.root ? 6u : 3u) << j->name;
    float largest = 0;
    for (int k = 1; k < 14; ++k) {
      largest = std::max(largest, matrixDistance(j->frames[k], j->frames[k + 1]));
      EXPECT_LT(matrixDistance(j->frames[k], j->frames[k + 14]), 1e-3f) << j->name << " frame " << k;
    }
    EXPECT_LE(matrixDistance(j->frames[14], j->frames[1]), 1.5f * largest + 1e-4f) << j->name;
  }
  for (const char* n : {"hip", "abdomen", "chest", "neck", "head", "lCollar", "lShldr", "lForeArm", "lHand", "rCollar",
                        "rShldr", "rForeArm", "rHand", "lThigh", "lShin", "lFoot", "rThigh", "rShin", "rFoot"})
    EXPECT_TRUE(names.count(n)) << n;
  objmesh limbs;  // one object per limb of the table
  limbs.load(data("newneomeshes//human4.obj"));
  ASSERT_EQ(limbs.objectCount(), 19);
  for (int k = 0; k < 19; ++k) EXPECT_GT(limbs.objectTriangles(k), 0) << k;
  for (int k = 1; k <= 14; ++k) EXPECT_TRUE(std::fabs(s.root->frames[k].m[12]) + std::fabs(s.root->frames[k].m[14]) < 2e-3f) << k;
}
