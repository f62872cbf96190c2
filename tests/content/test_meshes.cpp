// test_meshes.cpp -- the baked meshes and the walker, read back with the
// program's own loaders: point sets fill their grids, object meshes have
// their objects, the walk loops in place with the limb table's joints, and
// a second bake writes the same bytes.
#include <gtest/gtest.h>

#include <filesystem>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "geom/objmesh.h"
#include "geom/skeleton.h"
#include "gfx/tgobject.h"
#include "tests/support/testfiles.h"

namespace {

std::string data(const std::string& name) { return std::string(OBELISK_DATA_DIR) + "/" + name; }

struct box {
  float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
  void add(const float* p) {
    for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], p[k]), hi[k] = std::max(hi[k], p[k]);
  }
  float size(int k) const { return hi[k] - lo[k]; }
};

struct pointSet {
  const char* file;
  int grid, rings, density;
};

// Rings and densities as the scenes load them.
const pointSet pointSets[] = {
    {"newobjects//obelisk.obj", 1536, 450, 450}, {"newobjects//DNA.obj", 1536, 100, 40},
    {"newobjects//fish.obj", 1536, 80, 40},      {"newobjects//bird.obj", 1536, 80, 50},
    {"newobjects//sphere2.obj", 1536, 15, 38},   {"newobjects//baby.obj", 1536, 18, 20},
    {"newobjects//veltra.obj", 1536, 33, 33},    {"newobjects//swing.obj", 512, 30, 6},
    {"newobjects//logo.obj", 512, 30, 30},
};

TEST(pointSets, fillMostOfTheirGridWithoutWrapping) {
  for (const pointSet& s : pointSets) {
    SCOPED_TRACE(s.file);
    TGObject t;
    t.readMesh(data(s.file));
    ASSERT_GT(t.polygonCount(), 0);
    t.allocate(s.grid, s.grid);
    long long emitted = t.sample(s.rings, s.density, 1, 1, 1);
    long long capacity = (long long)s.grid * s.grid;
    EXPECT_GE(emitted, capacity * 6 / 10);
    EXPECT_LE(emitted, capacity * 11 / 10);
    EXPECT_EQ(t.pointCount, emitted % capacity);
    // Scaled by the sampler's 0.75, the shape spans a few units: big enough
    // to fill the frame from 7 units away, small enough to stay in it.
    box b;
    for (long long i = 0; i < std::min(emitted, capacity); ++i) b.add(&t.positions[3 * i]);
    float span = std::max({b.size(0), b.size(1), b.size(2)});
    EXPECT_GT(span, 1.5f);
    EXPECT_LT(span, 5.0f);
  }
}

TEST(objectMeshes, everyTriangleBelongsToANamedObject) {
  for (const char* file : {"newobjects//Eiffel.obj", "newobjects//Tower.obj", "newobjects//Parthenon.obj",
                           "newobjects//tree.obj", "newobjects//bird_good.obj", "newobjects//cronus.obj"}) {
    SCOPED_TRACE(file);
    objmesh m;
    m.load(data(file));
    EXPECT_TRUE(m.loaded);
    EXPECT_GE(m.objectCount(), 1);
    EXPECT_GT(m.triangleCount, 100);
    int inObjects = 0;
    for (int k = 0; k < m.objectCount(); ++k) inObjects += m.objectTriangles(k);
    EXPECT_EQ(inObjects, m.triangleCount);
  }
}

const char* const walkerJoints[] = {"hip",     "abdomen", "chest",   "neck",     "head",   "lCollar",
                                    "lShldr",  "lForeArm", "lHand",  "rCollar",  "rShldr", "rForeArm",
                                    "rHand",   "lThigh",  "lShin",   "lFoot",    "rThigh", "rShin", "rFoot"};

float matrixDistance(const mat4& a, const mat4& b) {
  float d = 0;
  for (int i = 0; i < 16; ++i) d = std::max(d, std::fabs(a.m[i] - b.m[i]));
  return d;
}

TEST(walker, loopsSeamlesslyInPlaceWithTheLimbTableJoints) {
  skeleton s(data("newneomeshes//avatar_female_walk.bvh"));
  ASSERT_NE(s.root, nullptr);
  EXPECT_EQ(s.root->name, "hip");
  EXPECT_EQ(s.root->channels.size(), 6u);
  ASSERT_GE(s.frameCount, 15);
  std::set<std::string> names;
  for (const joint* j : s.motionJoints) {
    names.insert(j->name);
    EXPECT_EQ(j->channels.size(), j == s.root ? 6u : 3u) << j->name;
  }
  for (const char* n : walkerJoints) EXPECT_TRUE(names.count(n)) << n;
  // Frames 1 ... 14 are one stride: the file repeats it, so the figure's
  // loop 14 -> 1 is the step 14 -> 15 of the motion itself, and no larger
  // than the stride's other frame steps.
  ASSERT_GE(s.frameCount, 29);
  for (const joint* j : s.motionJoints) {
    float largest = 0;
    for (int k = 1; k < 14; ++k) {
      largest = std::max(largest, matrixDistance(j->frames[k], j->frames[k + 1]));
      EXPECT_LT(matrixDistance(j->frames[k], j->frames[k + 14]), 1e-3f) << j->name << " frame " << k;
    }
    EXPECT_LE(matrixDistance(j->frames[14], j->frames[1]), 1.5f * largest + 1e-4f) << j->name;
  }
  for (int k = 1; k <= 14; ++k) {  // in place: the root never travels
    EXPECT_NEAR(s.root->frames[k].m[12], 0.0f, 1e-3f);
    EXPECT_NEAR(s.root->frames[k].m[14], 0.0f, 1e-3f);
  }
}

TEST(walker, limbMeshHasItsNineteenObjects) {
  objmesh limbs;
  limbs.load(data("newneomeshes//human4.obj"));
  ASSERT_EQ(limbs.objectCount(), 19);
  for (int k = 0; k < 19; ++k) EXPECT_GT(limbs.objectTriangles(k), 0) << k;
}

TEST(meshBake, secondBakeWritesTheSameBytes) {
  std::string dir = ::testing::TempDir() + "obelisk_mesh_rebake";
  for (const char* prefix : {"newobjects", "newneomeshes"}) {
    std::string cmd = std::string(OBELISK_CONTENT_EXE) + " " + dir + " --only " + prefix;
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  }
  for (const char* f : {"newobjects//baby.obj", "newobjects//veltra.obj", "newobjects//fish.obj",
                        "newobjects//tree.obj", "newneomeshes//avatar_female_walk.bvh",
                        "newneomeshes//human4.obj"}) {
    std::string again = readFile(dir + "/" + f);
    EXPECT_FALSE(again.empty()) << f;
    EXPECT_TRUE(again == readFile(data(f))) << f;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
