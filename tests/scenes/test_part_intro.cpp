// The intro section's clock, hand-over and time script, without GL.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "gfx/textures.h"
#include "platform/crandom.h"
#include "scenes/part_intro.h"
#include "scenes/sections.h"

namespace {

std::unique_ptr<part_intro> sectionAt(double t) {
  std::unique_ptr<part_intro> s(static_cast<part_intro*>(createSection(1)));
  s->setClock(t);
  return s;
}

// One frame of the unloaded section: the step it leaves for later sections.
double stepAfterFrame(double t, double step, double* clock = nullptr) {
  auto s = sectionAt(t);
  FrameState state;
  state.partNumber = 1;
  s->draw(&step, nullptr, &state);
  if (clock) *clock = s->t;
  return step;
}

double cosEase(double x) { return x <= 0 ? 0 : x >= 1 ? 1 : (1 - std::cos(M_PI * x)) / 2; }

void expectNear(const vec3& a, const vec3& b, double tolerance, double t) {
  EXPECT_NEAR(a.x, b.x, tolerance) << "t = " << t;
  EXPECT_NEAR(a.y, b.y, tolerance) << "t = " << t;
  EXPECT_NEAR(a.z, b.z, tolerance) << "t = " << t;
}

}  // namespace

TEST(introSection, theStepIsScaledByTheOpeningsFactors) {
  const double near52 = 1 - 0.9 * (cosEase(0.9 * 1.05) - cosEase(0.9 * 0.05));
  struct { double t, factor; } cases[] = {
      {3, 0.84 * 1.12 * 1.05}, {10, 0.84 * 1.12}, {20, 1.32}, {38, 1.12}, {52.05, near52}, {61, 1.0},
      {120, 1.0}};
  for (auto c : cases) {
    double clock = 0;
    double step = stepAfterFrame(c.t, 0.04, &clock);
    EXPECT_NEAR(step, 0.04 * c.factor, 1e-12) << "t = " << c.t;
    EXPECT_NEAR(clock, c.t + step, 1e-12) << "t = " << c.t;  // the clock moves by the scaled step
  }
  EXPECT_NEAR(near52, 0.1112, 1e-3);  // the near-stop: about a ninth of the speed
}

TEST(introSection, theLastSecondsSpeedUpTheStepTheSimulatorGets) {
  // The clock moves by the step as scaled before; the step handed on (to the
  // simulators of this frame and to later sections) holds 1.1 and 1.2.
  struct { double t, factor; } cases[] = {{163.9, 1.0}, {164.5, 1.1}, {169, 1.32}};
  for (auto c : cases) {
    double clock = 0;
    double step = stepAfterFrame(c.t, 0.05, &clock);
    EXPECT_NEAR(clock, c.t + 0.05, 1e-12) << "t = " << c.t;
    EXPECT_NEAR(step, 0.05 * c.factor, 1e-12) << "t = " << c.t;
  }
}

TEST(introSection, handsOverWhenTheClockWasPast171BeforeTheFrame) {
  auto s = sectionAt(170.98);
  FrameState state;
  state.partNumber = 1;
  double step = 0.04;
  s->draw(&step, nullptr, &state);  // 170.98 is not past 171: plays on to 171.02
  EXPECT_EQ(state.partNumber, 1);
  EXPECT_FALSE(state.switched);
  EXPECT_GT(s->t, 171.0);
  step = 0.04;
  s->draw(&step, nullptr, &state);  // seen past 171 before advancing
  EXPECT_EQ(state.partNumber, 2);
  EXPECT_TRUE(state.switched);
  EXPECT_EQ(state.values[0], s->t);  // the epilogue ran: the frame is the intro's whole
  double after = s->t;
  state.switched = false;
  step = 0.04;
  s->draw(&step, nullptr, &state);  // from the next frame on the next section plays
  EXPECT_EQ(s->t, after);
  EXPECT_EQ(step, 0.04);
  EXPECT_FALSE(state.switched);
}

TEST(introSection, whileAnotherSectionIsCurrentNothingChanges) {
  auto s = sectionAt(52.0);
  FrameState state;
  state.partNumber = 3;
  state.values[0] = 7;
  double step = 0.04;
  s->draw(&step, nullptr, &state);
  EXPECT_EQ(step, 0.04);
  EXPECT_EQ(s->t, 52.0);
  EXPECT_EQ(state.values[0], 7);
}

TEST(introCamera, baseOrbitAndKeyedMovesAtKeyedTimes) {
  // before 40 s only the base orbit: radius 5.5 at height 1.3
  camera c = introKeyedCamera(10);
  expectNear(c.eye, vec3(float(5.5 * std::sin(-2.5)), 1.3f, float(5.5 * std::cos(-2.5))), 1e-5, 10);
  expectNear(c.centre, vec3(0, 0.3f, 0), 1e-6, 10);
  // 50 s: the move to (4, 2, 1) is complete; the roll dip is over
  c = introKeyedCamera(50);
  expectNear(c.eye, vec3(4, 2, 1), 1e-5, 50);
  expectNear(c.centre, vec3(0, 1, 0), 1e-6, 50);
  expectNear(c.up, vec3(0, 1, 0), 1e-6, 50);
  // 43.333 s: half-way through the dip, up.z is at its lowest
  c = introKeyedCamera(40 + 1 / 0.3);
  EXPECT_NEAR(c.up.z, -0.3, 1e-5);
  // 76 s: descending with the look-at point, 1.8 below
  c = introKeyedCamera(76);
  expectNear(c.eye, vec3(4, -1.8f, 0), 1e-5, 76);
  expectNear(c.centre, vec3(0, -1.8f, 0), 1e-5, 76);
  // 115 s: the -x side, looking at y = 1 - 5.7
  c = introKeyedCamera(115);
  expectNear(c.eye, vec3(-5, 1.5f - 5.7f, 0), 1e-4, 115);
  expectNear(c.centre, vec3(0, -4.7f, 0), 1e-4, 115);
  // 171 s: the end of the dive, D = 39 - 1.3 rampIn(4) = 33.8
  c = introKeyedCamera(171);
  expectNear(c.centre, vec3(0, -6.9f, 34.3f), 1e-3, 171);
  expectNear(c.eye, vec3(-5, -6.9f, 34.84f), 1e-3, 171);
}

TEST(introScript, lensZoomsAt75AndAt90) {
  route none;
  struct { double t, fovy; } cases[] = {{50, 45}, {75.4, 21}, {76.5, 21}, {85, 45}, {91.2, 15}, {93, 15}, {96, 45}};
  for (auto c : cases) EXPECT_NEAR(introScript(c.t, none).fovy, c.fovy, 1e-4) << "t = " << c.t;
}

TEST(introScript, shakeBurstsAt18AndGrowsAfter58) {
  route none;
  EXPECT_NEAR(introScript(10, none).shakeAmplitude, 0.0002262, 1e-9);
  EXPECT_NEAR(introScript(18.5, none).shakeAmplitude, 0.0002262 * 51, 1e-7);   // the burst
  EXPECT_NEAR(introScript(21, none).shakeAmplitude, 0.0002262, 1e-9);          // faded again
  EXPECT_NEAR(introScript(70, none).shakeAmplitude, 0.0002262 * 9, 1e-8);      // the descent
  EXPECT_EQ(introScript(70, none).shake.index, -1);  // no track, no shake
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
  camera c = introCamera(70, v, record);
  expectNear(record, vec3(4 * v.shakeAmplitude, 2 * v.shakeAmplitude, 0), 1e-9, 70);
  camera still = introKeyedCamera(70);
  EXPECT_NEAR(c.up.x - still.up.x, 0.4 * std::sin(0.5 * 1.7188733853924696 * v.shakeAmplitude), 1e-7);
  EXPECT_GT(length(c.centre - still.centre), 0.0f);
}

TEST(introScript, swingSwarmOnlyBetween35AndAHalfAnd60) {
  route none;
  struct { double t; bool on; } cases[] = {{35.5, false}, {35.51, true}, {50, true}, {59.99, true}, {60, false}};
  for (auto c : cases) EXPECT_EQ(introScript(c.t, none).swing, c.on) << "t = " << c.t;
}

TEST(introScript, logoFadesAndItsCoinIsReseededFromTheClock) {
  route none;
  EXPECT_EQ(introScript(45, none).logoFade, 0.0);
  EXPECT_FALSE(introScript(45, none).logoShown);  // a zero fade never beats the coin
  EXPECT_NEAR(introScript(52, none).logoFade, 1.0, 1e-12);
  EXPECT_NEAR(introScript(50.5, none).logoFade, 0.5, 1e-12);
  // the coin at t: seed trunc(424 t + 424), 1000 draws discarded, then one
  for (double t : {50.5, 54.3}) {
    cSrand(uint32_t(424 * t + 424));
    for (int k = 0; k < 1000; ++k) cRand();
    double r = cRand() / 32767.0;
    double fade = introScript(t, none).logoFade;
    EXPECT_EQ(logoCoin(t, fade), fade > r) << "t = " << t;
    EXPECT_EQ(logoCoin(t, fade), logoCoin(t, fade)) << "repeatable";
  }
  // the seed is clamped: no undefined conversion before the clock starts or far beyond it
  EXPECT_FALSE(logoCoin(-5, 0));
  EXPECT_TRUE(logoCoin(1e12, 2));
}
