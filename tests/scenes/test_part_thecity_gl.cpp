// The thecity section on llvmpipe: its programs link, its landmark meshes
// stand upright after the scene's rotations, and a captured frame of the
// whole program shows the cloud in front of the dusk with the street in
// black. Runs in the baked data folder.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/part_thecity.h"
#include "tests/support/scenefixture.h"

namespace {

using citySceneGl = sceneGlTest<part_thecity, 3>;

// The vertical extent of a mesh after a chain of rotations (degrees about
// an axis, applied as the fixed-function pipeline applies them).
struct turn {
  float degrees, x, y, z;
};
void verticalExtent(const objmesh& m, const std::vector<turn>& chain, float& low, float& high) {
  low = 1e9f;
  high = -1e9f;
  for (size_t i = 0; i + 2 < m.positions.size(); i += 3) {
    double p[3] = {m.positions[i], m.positions[i + 1], m.positions[i + 2]};
    for (auto r = chain.rbegin(); r != chain.rend(); ++r) {  // the last call turns first
      double len = std::sqrt(r->x * r->x + r->y * r->y + r->z * r->z);
      double k[3] = {r->x / len, r->y / len, r->z / len}, a = r->degrees * M_PI / 180;
      double kp = k[0] * p[0] + k[1] * p[1] + k[2] * p[2];
      double c[3] = {k[1] * p[2] - k[2] * p[1], k[2] * p[0] - k[0] * p[2], k[0] * p[1] - k[1] * p[0]};
      for (int j = 0; j < 3; ++j) p[j] = p[j] * std::cos(a) + c[j] * std::sin(a) + k[j] * kp * (1 - std::cos(a));
    }
    low = std::min(low, float(p[1]));
    high = std::max(high, float(p[1]));
  }
}

}  // namespace

TEST_F(citySceneGl, everyProgramLinksWithoutComplaint) {
  expectCleanPrograms({200, 201, 202, 203, 204}, 7, {200});
  ASSERT_TRUE(scene->walker != nullptr) << loadLog;
}

// Standing on its foot, the top up.
TEST_F(citySceneGl, landmarksStandUprightAfterTheScenesTurns) {
  struct { const objmesh* mesh; std::vector<turn> chain; float foot, minHeight; } cases[] = {
      {&scene->meshes[LatticeMesh], {{-58, 1, 0, 0}, {90, 0, 1, 0}, {190, 1, 0, 0}}, 0, 5},
      {&scene->meshes[TempleMesh], {{18, 1, 0, 0}, {-4, 0, 1, 0}, {90, 0, 1, 0}, {190, 1, 0, 0}}, 0, 1},
      {&scene->meshes[TowerMesh], {{-37, -0.5f, 1, 0}, {74, 0, 1, 0}, {82, 0, 1, 0}, {3, 1, 0, 0}}, 0, 3},
      {&scene->meshes[TreeMesh], {}, -0.7f, 2}};
  for (const auto& c : cases) {
    float low, high;
    EXPECT_GT(c.mesh->triangleCount, 100);
    verticalExtent(*c.mesh, c.chain, low, high);
    EXPECT_NEAR(low, c.foot, 0.15f) << c.minHeight;
    EXPECT_GT(high, c.minHeight);
  }
}

TEST_F(citySceneGl, aFrameDrawsAndLeavesTheDepthMaskOn) {
  drawFrame(10, 0.04);
  GLboolean mask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  EXPECT_EQ(mask, GL_TRUE);
}

// At 10 s: the dusk fills the top, the cloud lights the middle, the street
// is black. The jump starts in the city with no hand-over on the way.
TEST_F(sceneCapture, cityCloudGlowsInFrontOfTheDuskAndTheStreetIsBlack) {
  picture p = capture(3, 10, 2);
  std::string log = readFile("log/Mylog.txt");
  EXPECT_NE(log.find("Jump: part 3 at 10 demo time 2"), std::string::npos) << log;  // about 280 s
  EXPECT_EQ(log.find("The time: "), std::string::npos);
  EXPECT_GT(p.meanLevel(0, 0, 640, 60), 15);                            // the sky is painted
  EXPECT_GT(p.countAbove(200, 240, 150, 400, 400), 500);                // the cloud in the middle
  EXPECT_GT(p.height * p.width - p.countAbove(12, 0, 0, p.width, p.height), 2000);  // silhouettes
}

// At 46 s: the cloud, the black crowd, landmarks and trees under the depth
// test, the doves blended by their alpha without depth writes, the post
// passes with the glow in white; the background program draws nothing.
TEST_F(citySceneGl, everyDrawRunsUnderItsStateAt46) {
  expectDraws(46, {
      "compute",
      "points opaque depth P200 fbo 1-sample n2359296",
      "triangles opaque depth fixed c(0.00,0.00,0.00,1.00) fbo x368",
      "quads alpha depth-nowrite fixed c(0.00,0.00,0.00,1.00) fbo x18",
      "quads opaque nodepth P202 fbo",
      "quads opaque nodepth P203 fbo",
      "quads opaque nodepth P204 win",
      "quads add nodepth fixed c(1.00,1.00,1.00,1.00) win"});
}
