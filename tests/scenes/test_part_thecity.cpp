// The thecity section's camera, cloud and groups, without GL.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/part_thecity.h"

namespace {

void expectVec(const vec3& v, double x, double y, double z, const char* what, double t, float tolerance = 2e-5f) {
  EXPECT_LT(length(v - vec3(float(x), float(y), float(z))), tolerance) << what << " at " << t << ": " << v.x << ", " << v.y
                                                                  << ", " << v.z;
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

// Sunk by 40 s, sway and roll gone; the lens zooms four times.
TEST(cityCamera, poseAndLensAtKeyedTimes) {
  struct { double t; vec3 eye, centre, up; } poses[] = {
      {0, vec3(9.6f, 2.4f, 0), vec3(0, 2.2f, 0), vec3(0, 1, 0)},
      {10, vec3(9.6f, 2.4f, 0), vec3(0, 3.0084964f, 1.8185949f), vec3(0, 1, -0.0958924f)},
      {40, vec3(9.6f, 0.96f, 0), vec3(0, 2.7849172f, 0), vec3(0, 1, 0)}};
  for (auto c : poses) {
    camera cam = cityPose(c.t);
    expectVec(cam.eye, c.eye.x, c.eye.y, c.eye.z, "eye", c.t);
    expectVec(cam.centre, c.centre.x, c.centre.y, c.centre.z, "centre", c.t);
    expectVec(cam.up, c.up.x, c.up.y, c.up.z, "up", c.t);
  }
  expectVec(cityPose(17.5).eye, 9.6, 1.68, 0, "eye half way down", 17.5);
  struct { double t, fovy; } lens[] = {{0, 55}, {46.5, 55}, {46.75, 40}, {47, 25}, {58, 25},
                                       {60, 40}, {61, 55}, {67.4, 55}, {69.4, 41}, {76, 27}};
  for (auto c : lens) EXPECT_NEAR(cityFovy(c.t), c.fovy, 1e-9) << "t = " << c.t;
}

TEST(cityCamera, shakeSwellsAndTheTrackMovesOnlyTheLookAtPoint) {
  const double unit = 5.1 * 0.0002262;
  EXPECT_NEAR(cityShakeAmplitude(0), 2 * unit, 1e-9);
  EXPECT_NEAR(cityShakeAmplitude(40), 2 * 0.3 * 6 * unit, 1e-9);
  EXPECT_NEAR(cityShakeAmplitude(76), 2 * 1.3 * 3 * unit, 1e-9);
  route track, none;
  for (int i = 0; i < 5; ++i) track.points.push_back(vec3(float(i), 1, 0));
  vec3 moved;
  camera c = cityCamera(10, track, moved), still = cityPose(10);  // 35 * 10 - 76 = 274: record 274 mod 4 = 2
  float amp = cityShakeAmplitude(10);
  expectVec(moved, 2 * amp, amp, 0, "shake record", 10);  // the track's own units, not the world's
  // side * 2 + up * 1, the amplitude 2 * unit, by hand
  expectVec(c.centre - still.centre, -0.00088472, 0.00187332, -0.00474633, "centre", 10, 1e-7f);
  expectVec(c.eye - still.eye, 0, 0, 0, "eye", 10);
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
    // the columns of doves are drawn twice
    EXPECT_EQ((std::vector<int>{g.lattice.shown, g.temple.shown, g.tower.shown, g.treeCount, g.flock1, g.flock2,
                                g.flock3, g.doveCount}),
              (std::vector<int>{c.lattice, c.temple, c.tower, c.trees, c.f1, c.f2, c.f3, c.f1 + 2 * c.f2 + 2 * c.f3}))
        << "t = " << c.t;
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
  expectVec(w.at, 0.3350566, -0.7161815, -2.8252205, "walker 0", 10, 1e-4f);
  EXPECT_NEAR(w.s, 1.2042604, 1e-6);
  EXPECT_FLOAT_EQ(w.frame, 260);
  EXPECT_FLOAT_EQ(w.fade, 1);  // 2 sin(pi f) is above 1
  EXPECT_NEAR(g.crowd[1].at.x, 4.1590258, 1e-4);
  EXPECT_NEAR(g.crowd[1].at.z, -5.6011841, 1e-5);
  EXPECT_FLOAT_EQ(g.crowd[1].frame, 130);
  // the lattice tower from 4250: rising, not yet full size
  EXPECT_NEAR(g.lattice.fade, 0.9721687, 1e-5);
  expectVec(g.lattice.at, 0.0450697, -0.2878313, 1.5115818, "lattice", 10, 1e-4f);
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
  expectVec(g.tower.at, 6.1538194, 0.54 - 1.0, -2.7072970 + 4, "tower", 9, 1e-4f);
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
    EXPECT_NEAR(c.trees[k].at.y, b.trees[k].at.y - 8.832018, 1e-4);  // 3 rampIn(3), by hand
  }
}
