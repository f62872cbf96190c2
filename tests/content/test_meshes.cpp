// test_meshes.cpp -- the baked meshes and the walker, read back with the
// program's own loaders: point sets fill their grids, landmarks stand
// upright once their scene turns them, the walk loops in place with its
// feet on the ground, and a second bake writes the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "geom/body.h"
#include "geom/objmesh.h"
#include "geom/skeleton.h"
#include "gfx/tgobject.h"

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

// A turn as the fixed-function calls apply it: the last listed acts first.
struct turnStep {
  float deg, x, y, z;
};
void turnPoint(float* p, const turnStep& s) {
  float l = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z), a = s.deg * float(M_PI) / 180;
  float ax = s.x / l, ay = s.y / l, az = s.z / l, c = std::cos(a), si = std::sin(a);
  float d = ax * p[0] + ay * p[1] + az * p[2];
  float cr[3] = {ay * p[2] - az * p[1], az * p[0] - ax * p[2], ax * p[1] - ay * p[0]};
  float axis[3] = {ax, ay, az};
  for (int k = 0; k < 3; ++k) p[k] = p[k] * c + cr[k] * si + axis[k] * d * (1 - c);
}

// Loads a landmark, checks every triangle belongs to a named object, and
// returns its vertex positions as the scene turns them.
std::vector<float> loadTurned(const char* file, const std::vector<turnStep>& turns) {
  objmesh m;
  m.load(data(file));
  EXPECT_TRUE(m.loaded);
  EXPECT_GE(m.objectCount(), 1);
  int inObjects = 0;
  for (int k = 0; k < m.objectCount(); ++k) inObjects += m.objectTriangles(k);
  EXPECT_EQ(inObjects, m.triangleCount);
  EXPECT_GT(m.triangleCount, 100);
  std::vector<float> out;
  for (const objvertex& v : m.vertices) {
    float p[3] = {v.f[0], v.f[1], v.f[2]};
    for (auto s = turns.rbegin(); s != turns.rend(); ++s) turnPoint(p, *s);
    out.insert(out.end(), p, p + 3);
  }
  return out;
}

box bounds(const std::vector<float>& pts) {
  box b;
  for (size_t i = 0; i + 2 < pts.size(); i += 3) b.add(&pts[i]);
  return b;
}

// The horizontal spread (largest of x and z) of the points in a height band.
float spreadBetween(const std::vector<float>& pts, float y0, float y1) {
  box b;
  for (size_t i = 0; i + 2 < pts.size(); i += 3)
    if (pts[i + 1] >= y0 && pts[i + 1] <= y1) b.add(&pts[i]);
  return std::max(b.size(0), b.size(2));
}

TEST(landmarks, standUprightAsTheCityTurnsThem) {
  const std::vector<turnStep> lattice = {{-58, 1, 0, 0}, {90, 0, 1, 0}, {190, 1, 0, 0}};
  const std::vector<turnStep> tower = {{-37, -0.5f, 1, 0}, {74, 0, 1, 0}, {82, 0, 1, 0}, {3, 1, 0, 0}};
  const std::vector<turnStep> temple = {{18, 1, 0, 0}, {-4, 0, 1, 0}, {90, 0, 1, 0}, {190, 1, 0, 0}};
  for (const auto& c : {std::make_pair("newobjects//Eiffel.obj", lattice),
                        std::make_pair("newobjects//Tower.obj", tower)}) {
    SCOPED_TRACE(c.first);
    std::vector<float> p = loadTurned(c.first, c.second);
    box b = bounds(p);
    EXPECT_GT(b.size(1), 1.5f * std::max(b.size(0), b.size(2)));
    float h = b.size(1);  // wide at the foot, narrow at the top
    EXPECT_GT(spreadBetween(p, b.lo[1], b.lo[1] + 0.05f * h), 2 * spreadBetween(p, b.hi[1] - 0.1f * h, b.hi[1]));
  }
  // The temple's steps are its widest part and lie at the bottom.
  std::vector<float> p = loadTurned("newobjects//Parthenon.obj", temple);
  box b = bounds(p);
  EXPECT_LT(b.size(1), std::max(b.size(0), b.size(2)));
  EXPECT_GT(spreadBetween(p, b.lo[1], b.lo[1] + 0.05f * b.size(1)), 0.95f * std::max(b.size(0), b.size(2)));
  EXPECT_LT(spreadBetween(p, b.hi[1] - 0.05f * b.size(1), b.hi[1]), 0.9f * std::max(b.size(0), b.size(2)));
}

TEST(landmarks, propsStandAsTheirScenesDrawThem) {
  // The tree's trunk stands on y = -0.7 under a wide crown.
  std::vector<float> tree = loadTurned("newobjects//tree.obj", {});
  box t = bounds(tree);
  EXPECT_NEAR(t.lo[1], -0.7f, 0.05f);
  EXPECT_LT(spreadBetween(tree, t.lo[1], t.lo[1] + 0.1f * t.size(1)), 0.25f * std::max(t.size(0), t.size(2)));
  // The bird spreads its wings along x, flat; its round head is at +z and
  // its flat tail at -z.
  std::vector<float> bird = loadTurned("newobjects//bird_good.obj", {});
  box w = bounds(bird);
  EXPECT_GT(w.size(0), 1.5f * w.size(2));
  EXPECT_GT(w.size(0), 4 * w.size(1));
  box head, tail;
  for (size_t i = 0; i + 2 < bird.size(); i += 3) {
    if (bird[i + 2] > w.hi[2] - 0.4f) head.add(&bird[i]);
    if (bird[i + 2] < w.lo[2] + 0.2f) tail.add(&bird[i]);
  }
  EXPECT_GT(head.size(1), 4 * tail.size(1));
  // The statue is tall and centred on its origin, about which it spins.
  box s = bounds(loadTurned("newobjects//cronus.obj", {}));
  EXPECT_GT(s.size(1), 2 * std::max(s.size(0), s.size(2)));
  EXPECT_LT(std::fabs(s.lo[1] + s.hi[1]), 0.3f * s.size(1));
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

struct posedLimbs {
  const objmesh* mesh;
  box bounds;
  std::set<int> objects;
};

void collectLimb(body&, const joint& from, const mat4& m, void* user) {
  const limbEntry* e = findLimb(from.name);
  posedLimbs& p = *static_cast<posedLimbs*>(user);
  if (!e || e->object + 1 >= int(p.mesh->objectStarts.size())) return;
  p.objects.insert(e->object);
  float sc = e->scale > 0 ? e->scale : 1;
  for (int t = p.mesh->objectStarts[e->object] * 3; t < p.mesh->objectStarts[e->object + 1] * 3; ++t) {
    const float* v = p.mesh->vertices[p.mesh->indices[t]].f;
    float q[3] = {44.16f * (e->tx + sc * v[0]), -44.16f * (e->ty + sc * v[1]), 44.16f * (e->tz + sc * v[2])};
    float w[3];
    for (int r = 0; r < 3; ++r) w[r] = m.m[r] * q[0] + m.m[4 + r] * q[1] + m.m[8 + r] * q[2] + m.m[12 + r];
    p.bounds.add(w);
  }
}

TEST(walker, limbMeshDressesTheFigureWithFeetOnTheGround) {
  objmesh limbs;
  limbs.load(data("newneomeshes//human4.obj"));
  ASSERT_EQ(limbs.objectCount(), 19);
  for (int k = 0; k < 19; ++k) EXPECT_GT(limbs.objectTriangles(k), 0) << k;
  body b(data("newneomeshes//avatar_female_walk.bvh"));
  for (float f = 1.0f; f < 15.0f; f += 0.5f) {
    posedLimbs p{&limbs, box(), {}};
    b.framePosition = f;
    b.pose(collectLimb, &p);
    EXPECT_EQ(p.objects.size(), 17u);  // every object but the two spares
    // A foot is on the ground line (27 motion units up) in every pose, and
    // the figure is about a person's height above it.
    EXPECT_NEAR(p.bounds.lo[1], 27.0f, 3.0f) << f;
    EXPECT_GT(p.bounds.hi[1] - p.bounds.lo[1], 150.0f);
    EXPECT_LT(p.bounds.hi[1] - p.bounds.lo[1], 185.0f);
  }
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
    std::string again = slurp(dir + "/" + f);
    EXPECT_FALSE(again.empty()) << f;
    EXPECT_TRUE(again == slurp(data(f))) << f;
  }
}

}  // namespace
