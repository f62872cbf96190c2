// The start section's clock, hand-over and time script, without GL (the
// section is not loaded, so its draw runs only the prologue and epilogue).
#include <gtest/gtest.h>

#include <memory>

#include "scenes/part_start.h"
#include "scenes/sections.h"

namespace {

std::unique_ptr<part_start> sectionAt(double t) {
  std::unique_ptr<part_start> s(static_cast<part_start*>(createSection(0)));
  s->setClock(t);
  return s;
}

route trackOf(int n) {
  route r;
  for (int i = 0; i < n; ++i) r.points.push_back(vec3(float(i), float(-i), 0));
  return r;
}

}  // namespace

TEST(startSection, whileAnotherSectionIsCurrentNothingChanges) {
  auto s = sectionAt(20.0);
  FrameState state;
  state.partNumber = 2;
  state.values[0] = 123;
  double step = 0.04;
  s->draw(&step, nullptr, &state);
  EXPECT_EQ(step, 0.04);  // not even scaled, though t > 14
  EXPECT_EQ(s->t, 20.0);
  EXPECT_EQ(state.partNumber, 2);
  EXPECT_EQ(state.values[0], 123);
  EXPECT_FALSE(state.switched);
}

TEST(startSection, handsOverOnTheFirstFrameBeyond27AndWritesThatFrameBack) {
  auto s = sectionAt(26.95);
  FrameState state;
  double step = 0.02;
  s->draw(&step, nullptr, &state);  // 26.97 + stretch: still below 27
  EXPECT_EQ(state.partNumber, 0);
  EXPECT_FALSE(state.switched);
  double before = s->t;
  step = 0.04;
  s->draw(&step, nullptr, &state);
  EXPECT_GT(s->t, 27.0);
  EXPECT_EQ(state.partNumber, 1);
  EXPECT_TRUE(state.switched);
  EXPECT_EQ(state.values[0], s->t);  // the epilogue ran on the hand-over frame
  EXPECT_NEAR(s->t - before, 0.04 * 1.18, 1e-12);
  double after = s->t;
  state.switched = false;
  s->draw(&step, nullptr, &state);  // from now on the section only looks
  EXPECT_EQ(s->t, after);
  EXPECT_FALSE(state.switched);
}

TEST(startSection, theStepIsStretchedAfter14Seconds) {
  struct { double t, factor; } cases[] = {{14.0, 1.0}, {14.5, 1.09}, {22.0, 1.18}};
  for (auto c : cases) {
    auto s = sectionAt(c.t);
    FrameState state;
    double step = 0.05;
    s->draw(&step, nullptr, &state);
    EXPECT_NEAR(step, 0.05 * c.factor, 1e-12) << "t = " << c.t;  // later sections see it scaled
    EXPECT_NEAR(s->t, c.t + step, 1e-12);
  }
}

TEST(startScript, titleFadeAndCard) {
  route none;
  struct { double t, fade; int slot; } cases[] = {
      {-13.5, 0.0, 30}, {5.0, 0.0, 30}, {7.0, 0.5, 30}, {15.3, 1.0, 30}, {15.31, 1.0, 31},
      {16.0, 1.0, 31}, {20.0, 0.5, 31}, {22.0, 0.0, 31}};
  for (auto c : cases) {
    startValues v = startScript(c.t, none);
    EXPECT_NEAR(v.fade, c.fade, 1e-9) << "t = " << c.t;
    EXPECT_EQ(v.titleSlot, c.slot) << "t = " << c.t;
  }
}

TEST(startScript, shakeUsesTheTrackOnlyWithTwoPointsOrMore) {
  for (int n : {0, 1}) EXPECT_EQ(startScript(10.0, trackOf(n)).shakeIndex, -1) << n;
  EXPECT_GE(startScript(3.0, trackOf(11)).shakeIndex, 0);
}
