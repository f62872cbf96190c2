// The thecity section's clock, hand-over and time script, without GL (the
// section is not loaded, so its draw runs only the prologue and epilogue).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "scenes/part_thecity.h"
#include "scenes/sections.h"
#include "scenes/timing.h"

namespace {

std::unique_ptr<part_thecity> sectionAt(double t) {
  std::unique_ptr<part_thecity> s(static_cast<part_thecity*>(createSection(3)));
  s->setClock(t);
  return s;
}

void expectVec(const vec3& v, double x, double y, double z, const char* what, double t) {
  EXPECT_NEAR(v.x, x, 1e-5) << what << " at " << t;
  EXPECT_NEAR(v.y, y, 1e-5) << what << " at " << t;
  EXPECT_NEAR(v.z, z, 1e-5) << what << " at " << t;
}

// Where a world point lands on the screen of a camera: x and y in -1 ... 1
// inside the frame (aspect 1.6), and whether it is in front of the eye.
struct onScreen {
  double x, y;
  bool front;
};
onScreen project(const camera& c, const vec3& p) {
  vec3 f = normalise(c.centre - c.eye), side = normalise(cross(f, c.up));
  vec3 up = cross(side, f), d = p - c.eye;
  double depth = dot(d, f), h = std::tan(c.fovy * M_PI / 360);
  return {dot(d, side) / (depth * h * 1.6), dot(d, up) / (depth * h), depth > 0};
}

}  // namespace

// ---- clock and hand-over ----------------------------------------------------------------

TEST(citySection, whileAnotherSectionIsCurrentNothingChanges) {
  auto s = sectionAt(60.0);
  FrameState state;
  state.partNumber = 2;
  double step = 0.04;
  s->draw(&step, nullptr, &state);
  EXPECT_EQ(step, 0.04);
  EXPECT_EQ(s->t, 60.0);
  EXPECT_EQ(state.partNumber, 2);
}

TEST(citySection, stepIsScaledByTheThreeFactors) {
  struct { double t, factor; } cases[] = {
      {0.0, 1.07}, {54.5, 1.07 * 1.06}, {60.0, 1.07 * 1.12}, {68.5, 1.07 * 1.12 * 0.975}, {75.0, 1.07 * 1.12 * 0.95}};
  for (auto c : cases) {
    auto s = sectionAt(c.t);
    FrameState state;
    state.partNumber = 3;
    double step = 0.05;
    s->draw(&step, nullptr, &state);
    EXPECT_NEAR(step, 0.05 * c.factor, 1e-12) << "t = " << c.t;
    EXPECT_NEAR(s->t, c.t + step, 1e-12);
    EXPECT_EQ(state.values[0], s->t);
  }
}

TEST(citySection, handsOverToTheMantisOnTheFirstFrameBeyond76) {
  auto s = sectionAt(75.9);
  FrameState state;
  state.partNumber = 3;
  double step = 0.05;
  s->draw(&step, nullptr, &state);  // 75.9 + 0.05 * 1.1384: still below 76
  EXPECT_EQ(state.partNumber, 3);
  step = 0.05;
  s->draw(&step, nullptr, &state);
  EXPECT_GT(s->t, 76.0);
  EXPECT_EQ(state.partNumber, 4);
  EXPECT_TRUE(state.switched);
  EXPECT_EQ(state.values[0], s->t);
}

// ---- camera -------------------------------------------------------------------------------

TEST(cityCamera, poseAtKeyedTimes) {
  camera c = cityPose(0);
  expectVec(c.eye, 9.6, 2.4, 0, "eye", 0);
  expectVec(c.centre, 0, 2.2, 0, "centre", 0);
  expectVec(c.up, 0, 1, 0, "up", 0);
  EXPECT_DOUBLE_EQ(c.fovy, 55);

  c = cityPose(10);  // bobbing, swaying, rolling
  expectVec(c.eye, 9.6, 2.4, 0, "eye", 10);
  expectVec(c.centre, 0, std::sin(2.2) + 2.2, 2 * std::sin(2.0), "centre", 10);
  expectVec(c.up, 0, 1, 0.1 * std::sin(5.0), "up", 10);

  c = cityPose(17.5);  // half way down
  expectVec(c.eye, 9.6, 1.2 * (2 - 0.6), 0, "eye", 17.5);

  c = cityPose(40);  // sunk; sway and roll gone
  expectVec(c.eye, 9.6, 0.96, 0, "eye", 40);
  expectVec(c.centre, 0, std::sin(8.8) + 2.2, 0, "centre", 40);
  expectVec(c.up, 0, 1, 0, "up", 40);

  c = cityPose(64);  // the look-at point has climbed
  expectVec(c.centre, 0, std::sin(0.22 * 64) + 2.2 - 0.48 * 5 + 0.6 * 7, 0, "centre", 64);
}

TEST(cityCamera, lensZoomsFourTimes) {
  struct { double t, fovy; } cases[] = {{0, 55}, {46.5, 55}, {46.75, 40}, {47, 25}, {58, 25},
                                        {60, 40}, {61, 55}, {67.4, 55}, {69.4, 41}, {76, 27}};
  for (auto c : cases) EXPECT_NEAR(cityFovy(c.t), c.fovy, 1e-9) << "t = " << c.t;
}

TEST(cityCamera, shakeSwellsAndTheTrackMovesTheLookAtPoint) {
  const double unit = 5.1 * 0.0002262;
  EXPECT_NEAR(cityShakeAmplitude(0), 2 * unit, 1e-9);
  EXPECT_NEAR(cityShakeAmplitude(40), 2 * 0.3 * 6 * unit, 1e-9);
  EXPECT_NEAR(cityShakeAmplitude(76), 2 * 1.3 * 3 * unit, 1e-9);

  route track;
  for (int i = 0; i < 5; ++i) track.points.push_back(vec3(float(i), 1, 0));
  vec3 moved;
  camera c = cityCamera(10, track, moved);  // 35 * 10 - 76 = 274, record 274 mod 4 = 2
  camera still = cityPose(10);
  float amp = cityShakeAmplitude(10);
  expectVec(moved, 2 * amp, amp, 0, "shake record", 10);  // the track's own units, not the world's
  vec3 expected = shakeOffset(still, vec3(2, 1, 0), amp);
  expectVec(c.centre - still.centre, expected.x, expected.y, expected.z, "centre", 10);

  route none;
  cityCamera(10, none, moved);
  expectVec(moved, 0, 0, 0, "no track", 10);
}

// The cloud must stay in the picture while the look-at point climbs and the
// lens narrows: its centre, foot and top stay inside the frame at every
// moment (the obelisk spans -2.25 ... 2.25 about the cloud's centre, and
// three quarters of that when it comes back; the baby -1.65 ... 1.7).
TEST(cityCamera, theCloudStaysInThePicture) {
  for (double t = 0; t <= 76; t += 0.25) {
    camera c = cityPose(t);
    vec3 centre = cloudCentre(t);
    bool isBaby = babyMix(t) > 0.5;
    float half = t > 44 ? 0.75f * 2.25f : 2.25f;
    for (float dy : {0.0f, isBaby ? -1.65f : -half, isBaby ? 1.7f : half}) {
      onScreen s = project(c, centre + vec3(0, dy, 0));
      EXPECT_TRUE(s.front) << t;
      EXPECT_LT(std::fabs(s.y), 1.0) << "t = " << t << " dy = " << dy;
      EXPECT_LT(std::fabs(s.x), 1.0) << "t = " << t;
    }
  }
  EXPECT_NEAR(cloudCentre(0).y, 0, 1e-6);  // about the origin while the lens is wide
}

TEST(cityScript, theCloudIsTheObeliskThenTheBabyThenTheObelisk) {
  EXPECT_EQ(babyMix(20), 0);
  EXPECT_EQ(babyMix(40), 1);
  EXPECT_EQ(babyMix(70), 0);
  EXPECT_NEAR(babyMix(28.5), 0.5, 1e-9);
}

// ---- groups ---------------------------------------------------------------------------------

TEST(cityGroups, countsAndTimeWindows) {
  cityGroups g;
  struct { double t; bool lattice, temple, tower; int trees, f1, f2, f3; } cases[] = {
      {1, false, false, false, 8, 20, 0, 0},   {3, false, false, true, 8, 20, 0, 0},
      {10, true, false, true, 8, 20, 0, 0},    {13, true, true, false, 8, 20, 0, 0},
      {19, false, true, false, 8, 20, 0, 0},   {25, false, false, false, 8, 20, 0, 0},
      {42, false, false, false, 8, 0, 0, 0},   {46, false, false, false, 8, 0, 9, 0},
      {50, false, false, false, 0, 0, 9, 0},   {55, false, false, false, 0, 0, 0, 9},
      {70, false, false, false, 0, 0, 0, 0}};
  for (auto c : cases) {
    placeGroups(c.t, g);
    EXPECT_EQ(g.lattice.shown, c.lattice) << c.t;
    EXPECT_EQ(g.temple.shown, c.temple) << c.t;
    EXPECT_EQ(g.tower.shown, c.tower) << c.t;
    EXPECT_EQ(g.treeCount, c.trees) << c.t;
    EXPECT_EQ(g.flock1, c.f1) << c.t;
    EXPECT_EQ(g.flock2, c.f2) << c.t;
    EXPECT_EQ(g.flock3, c.f3) << c.t;
    EXPECT_EQ(g.doveCount, c.f1 + 2 * c.f2 + 2 * c.f3) << c.t;  // the columns are drawn twice
  }
  EXPECT_EQ(CrowdSize, 18);
}

TEST(cityGroups, lanesKeepTheMiddleFreeNothingReachesTheLensAndDoveImagesStayInTheirSlots) {
  cityGroups g;
  for (double t = 0; t < 76; t += 0.37) {
    placeGroups(t, g);
    for (const walkerPlace& w : g.crowd) EXPECT_GE(std::fabs(w.at.z), 1.3f) << t;
    for (int k = 0; k < g.treeCount; ++k) {
      EXPECT_GE(std::fabs(g.trees[k].at.z), 1.3f) << t;
      if (g.trees[k].at.x > 8.8f) {
        EXPECT_EQ(g.trees[k].scale, 0) << t;  // gone before the lens
      }
    }
    for (const landmarkPlace* p : {&g.lattice, &g.temple, &g.tower})
      if (p->shown && p->at.x > 8.8f) {
        EXPECT_EQ(p->scale, 0) << t;
      }
    for (int k = 0; k < g.doveCount; ++k) {
      EXPECT_GE(g.doves[k].image, 300) << t;
      EXPECT_LE(g.doves[k].image, 316) << t;
    }
  }
}

// At t = 10 the generator seeded with 4242 gives the first walker
// a = 13891/32767, (one draw discarded), z from 6740/32767, s - 1 from
// 6693/32767 and the frame offset 260 - 61; by hand:
TEST(cityGroups, placementsFollowTheGenerator) {
  cityGroups g;
  placeGroups(10, g);
  const walkerPlace& w = g.crowd[0];
  EXPECT_NEAR(w.f, 0.4239326, 1e-5);
  EXPECT_NEAR(w.at.x, 0.3350566, 1e-4);
  EXPECT_NEAR(w.at.y, -0.7161815, 1e-5);
  EXPECT_NEAR(w.at.z, -2.8252205, 1e-5);
  EXPECT_NEAR(w.s, 1.2042604, 1e-6);
  EXPECT_FLOAT_EQ(w.frame, 260);
  EXPECT_FLOAT_EQ(w.fade, 1);  // 2 sin(pi f) is above 1
  EXPECT_NEAR(g.crowd[1].at.x, 4.1590258, 1e-4);
  EXPECT_NEAR(g.crowd[1].at.z, -5.6011841, 1e-5);
  EXPECT_FLOAT_EQ(g.crowd[1].frame, 130);

  // the lattice tower from 4250: rising, not yet full size
  EXPECT_NEAR(g.lattice.fade, 0.9721687, 1e-5);
  EXPECT_NEAR(g.lattice.at.x, 0.0450697, 1e-4);
  EXPECT_NEAR(g.lattice.at.y, -0.2878313, 1e-5);
  EXPECT_NEAR(g.lattice.at.z, 1.5115818, 1e-5);
  EXPECT_NEAR(g.lattice.scale, 0.68 * 0.9721687, 1e-5);
}

// The temple and the tower share the seed 4243: the temple is its first
// instance, the tower's first pass consumes that one and draws the second,
// shifted by 4 in z (by hand: a = 28314/32767, z = -2.7072970).
TEST(cityGroups, theTowerIsTheSecondInstanceOfTheTemplesSeed) {
  cityGroups g;
  placeGroups(13, g);
  EXPECT_NEAR(g.temple.at.x, 5.4324351, 1e-4);
  EXPECT_NEAR(g.temple.at.z, 3.7169713, 1e-5);
  EXPECT_NEAR(g.temple.scale, 0.12, 1e-6);  // past half way: full size
  placeGroups(9, g);
  ASSERT_TRUE(g.tower.shown);
  EXPECT_NEAR(g.tower.at.x, 6.1538194, 1e-4);
  EXPECT_NEAR(g.tower.at.y, 0.54 - 1.0, 1e-5);
  EXPECT_NEAR(g.tower.at.z, -2.7072970 + 4, 1e-5);
  EXPECT_NEAR(g.tower.scale, 1.1, 1e-6);
}

TEST(cityGroups, treesStopAt33AndSinkFrom39) {
  cityGroups a, b, c;
  placeGroups(34, a);
  placeGroups(38, b);
  placeGroups(42, c);
  for (int k = 0; k < TreeCount; ++k) {
    EXPECT_EQ(a.trees[k].at.x, b.trees[k].at.x);
    EXPECT_EQ(a.trees[k].at.y, b.trees[k].at.y);
    EXPECT_NEAR(c.trees[k].at.y, b.trees[k].at.y - 3 * rampIn(3), 1e-5);
  }
}
