// The intro section's time script and camera, without GL.
#include <gtest/gtest.h>

#include "scenes/part_intro.h"

namespace {

void expectNear(const vec3& a, const vec3& b, double tolerance, double t) {
  EXPECT_LT(length(a - b), tolerance) << "t = " << t << ": " << a.x << ", " << a.y << ", " << a.z;
}

}  // namespace

TEST(introCamera, baseOrbitAndKeyedMovesAtKeyedTimes) {
  struct { double t; vec3 eye, centre; double tolerance; } cases[] = {
      {10, vec3(-3.2916f, 1.3f, -4.4063f), vec3(0, 0.3f, 0), 1e-4},  // the base orbit: radius 5.5 at height 1.3
      {50, vec3(4, 2, 1), vec3(0, 1, 0), 1e-5},                         // the move to (4, 2, 1) is complete
      {76, vec3(4, -1.8f, 0), vec3(0, -1.8f, 0), 1e-5},                 // descending with the look-at point
      {115, vec3(-5, -4.2f, 0), vec3(0, -4.7f, 0), 1e-4},               // the -x side, looking at y = 1 - 5.7
      {171, vec3(-5, -6.9f, 34.84f), vec3(0, -6.9f, 34.3f), 1e-3}};     // the end of the dive
  for (auto c : cases) {
    camera cam = introKeyedCamera(c.t);
    expectNear(cam.eye, c.eye, c.tolerance, c.t);
    expectNear(cam.centre, c.centre, c.tolerance, c.t);
  }
  expectNear(introKeyedCamera(50).up, vec3(0, 1, 0), 1e-6, 50);  // the roll dip is over
  EXPECT_NEAR(introKeyedCamera(40 + 1 / 0.3).up.z, -0.3, 1e-5);    // half-way through it: at its lowest
}

TEST(introScript, lensShakeAndSwarmAtKeyedTimes) {
  route none;
  struct { double t, fovy; } lens[] = {{50, 45}, {75.4, 21}, {76.5, 21}, {85, 45}, {91.2, 15}, {93, 15}, {96, 45}};
  for (auto c : lens) EXPECT_NEAR(introScript(c.t, none).fovy, c.fovy, 1e-4) << "t = " << c.t;
  // a burst at 18, faded again by 21, growing in the descent
  struct { double t, amplitude; } shake[] = {{10, 0.0002262}, {18.5, 0.0002262 * 51}, {21, 0.0002262}, {70, 0.0002262 * 9}};
  for (auto c : shake) EXPECT_NEAR(introScript(c.t, none).shakeAmplitude, c.amplitude, 1e-9) << "t = " << c.t;
  EXPECT_EQ(introScript(70, none).shake.index, -1);  // no track, no shake
  struct { double t; bool on; } swing[] = {{35.5, false}, {35.51, true}, {50, true}, {59.99, true}, {60, false}};
  for (auto c : swing) EXPECT_EQ(introScript(c.t, none).swing, c.on) << "t = " << c.t;
}

TEST(introScript, shakeRecordAndRollFollowTheTrack) {
  route track;
  for (int i = 0; i < 11; ++i) {
    track.points.push_back(vec3(float(i), 2, 0));
    track.valuesA.push_back(0.5);
  }
  introValues v = introScript(70, track);  // 35 * 70 - 76 = 2374: record 2374 mod 10 = 4
  ASSERT_EQ(v.shake.index, 4);
  vec3 record;
  camera c = introCamera(70, v, record), still = introKeyedCamera(70);
  expectNear(record, vec3(4 * 0.0002262f * 9, 2 * 0.0002262f * 9, 0), 1e-8, 70);
  EXPECT_NE(c.up.x, still.up.x);  // the roll follows the record's value
  EXPECT_GT(length(c.centre - still.centre), 0.0f);
}

// The logo shows when its fade beats a coin: the generator seeded with
// trunc(424 t + 424), 1000 draws discarded, then one. By hand: 31069 / 32767
// at 50.5 s (seed 21836), 13585 / 32767 at 54.3 s (seed 23447).
TEST(introScript, logoFadesAndItsCoinIsReseededFromTheClock) {
  route none;
  EXPECT_EQ(introScript(45, none).logoFade, 0.0);
  EXPECT_FALSE(introScript(45, none).logoShown);  // a zero fade never beats the coin
  EXPECT_NEAR(introScript(52, none).logoFade, 1.0, 1e-12);
  EXPECT_NEAR(introScript(50.5, none).logoFade, 0.5, 1e-12);
  for (auto c : {std::make_pair(50.5, 31069 / 32767.0), std::make_pair(54.3, 13585 / 32767.0)}) {
    EXPECT_TRUE(logoCoin(c.first, c.second + 1e-4)) << c.first;
    EXPECT_FALSE(logoCoin(c.first, c.second - 1e-4)) << c.first;
  }
  // the seed is clamped: no undefined conversion before the clock starts or far beyond it
  EXPECT_FALSE(logoCoin(-5, 0));
  EXPECT_TRUE(logoCoin(1e12, 2));
}
