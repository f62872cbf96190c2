// The sections' clocks without GL (a section that is not loaded runs only
// its prologue and epilogue): the step each hands down the chain, worked out
// by hand at the edges of its keys, and the hand-over on the first frame past
// its end.
#include <gtest/gtest.h>

#include "scenes/part_intro.h"
#include "scenes/scene.h"
#include "scenes/sections.h"

namespace {

const double Pace = 0.930006;  // the mantis drawing's pace, 1.05 x 0.915 x 0.968 worked out

struct frameResult {
  double step, clock;
  FrameState state;
};

// One frame of section `part` at its clock t while part `current` plays.
frameResult frame(int part, double t, double step, int current) {
  std::unique_ptr<scene> s(createSection(part));
  s->setClock(t);
  frameResult r{step, 0, FrameState()};
  r.state.partNumber = current;
  r.state.values[0] = -1;
  s->draw(&r.step, nullptr, &r.state);
  r.clock = s->t;
  return r;
}

}  // namespace

// While the section plays its clock moves by the step it scales, and the
// record holds the clock; the factors are worked out by hand at the edges of
// their keys (a factor keyed "t > k" is not yet applied at k itself). The
// intro nearly stops at 52 s, and its last seconds speed up only the step
// handed on (not its clock).
TEST(sections, eachScalesTheStepWhilePlaying) {
  struct { int part; double t, clockFactor, stepFactor; } cases[] = {
      {0, 14.0, 1.0, 1.0}, {0, 14.5, 1.09, 1.09}, {0, 15.0, 1.18, 1.18},
      {1, 4.9, 0.98784, 0.98784}, {1, 5, 0.9408, 0.9408}, {1, 17.9, 0.9408, 0.9408}, {1, 18, 1.12, 1.12},
      {1, 18.1, 1.32, 1.32}, {1, 36, 1.12, 1.12}, {1, 39.9, 1.12, 1.12}, {1, 40, 1, 1},
      {1, 52, 0.12202457, 0.12202457}, {1, 52.05, 0.11119016, 0.11119016}, {1, 120, 1, 1},
      {1, 163.9, 1, 1}, {1, 164.5, 1, 1.1}, {1, 168.5, 1, 1.32},
      {2, 10, 1.1235, 1.1235},
      {3, 0, 1.07, 1.07}, {3, 54, 1.07, 1.07}, {3, 54.5, 1.1342, 1.1342}, {3, 55, 1.1984, 1.1984},
      {3, 68, 1.1984, 1.1984}, {3, 68.5, 1.16844, 1.16844}, {3, 69, 1.13848, 1.13848},
      {4, 10, Pace, Pace},
      {5, 3, 0.91, 0.91}, {5, 14, 0.91, 0.91}, {5, 14.5, 0.9919, 0.9919}, {5, 15, 1.0738, 1.0738}};
  for (auto c : cases) {
    SCOPED_TRACE("part " + std::to_string(c.part) + " at " + std::to_string(c.t));
    frameResult r = frame(c.part, c.t, 0.05, c.part);
    EXPECT_NEAR(r.step, 0.05 * c.stepFactor, 1e-9);
    EXPECT_NEAR(r.clock, c.t + 0.05 * c.clockFactor, 1e-9);
    EXPECT_EQ(r.state.values[0], r.clock);
  }
}

// The intro's factors exactly at their keys: 18 and 36 end the slow opening
// and the catch-up; the two last speed-ups start after 164 and 168 s of the
// clock the frame ends on, and the intro's own step never holds them.
TEST(sections, theIntroStepsAtTheEdgesOfItsKeys) {
  struct { double t, own, handedOn; } cases[] = {
      {17.999, 0.9408, 1}, {18, 1.12, 1}, {18.001, 1.32, 1}, {35.999, 1.32, 1}, {36, 1.12, 1},
      {164, 1, 1}, {164.001, 1, 1.1}, {168, 1, 1.1}, {168.001, 1, 1.32}, {171, 1, 1.32}};
  for (auto c : cases) {
    EXPECT_NEAR(introStep(c.t, 1.0), c.own, 1e-12) << "t = " << c.t;
    EXPECT_NEAR(introPassOn(c.t, 1.0), c.handedOn, 1e-12) << "t = " << c.t;
  }
}

// While another section plays the clock stands and the record is left
// alone (the intro hands on no speed-up either); the reallife and mantis
// sections still scale the step for the sections after them in the chain.
TEST(sections, whileAnotherPlaysOnlySomeScaleTheStep) {
  struct { int part, current; double t, stepFactor; } cases[] = {
      {0, 2, 20.0, 1.0}, {1, 3, 52.0, 1.0}, {1, 2, 166.0, 1.0}, {2, 1, 10.0, 1.07}, {3, 2, 60.0, 1.0},
      {4, 3, 10.0, Pace}, {4, 5, 10.0, Pace}, {5, 4, 10.0, 1.0}};
  for (auto c : cases) {
    SCOPED_TRACE("part " + std::to_string(c.part) + " while " + std::to_string(c.current) + " plays");
    frameResult r = frame(c.part, c.t, 0.04, c.current);
    EXPECT_NEAR(r.step, 0.04 * c.stepFactor, 1e-9);
    EXPECT_EQ(r.clock, c.t);
    EXPECT_EQ(r.state.values[0], -1);
    EXPECT_EQ(r.state.partNumber, c.current);
    EXPECT_FALSE(r.state.switched);
  }
}

// The hand-over frame is the first that ends past the section's end (the
// intro's: the first that starts past it). It is played whole, its clock
// written to the record, and names the next part; all but the mantis
// drawing and the end set the flag that stops the chain (the end section
// draws in the same frame). From the next frame on the section only looks.
TEST(sections, handOverOnTheFirstFramePastTheEnd) {
  struct { int part; double before, end; bool seenBefore, flagged; } cases[] = {
      {0, 26.95, 27, false, true}, {1, 170.98, 171, true, true}, {2, 68.9, 69, false, true},
      {3, 75.9, 76, false, true}, {4, 97.68, 97.7, false, false}, {5, 19.95, 20, false, false}};
  for (auto c : cases) {
    SCOPED_TRACE("part " + std::to_string(c.part));
    std::unique_ptr<scene> s(createSection(c.part));
    s->setClock(c.before);
    FrameState state;
    state.partNumber = c.part;
    double was = c.before, prevWas = c.before;
    for (int k = 0; k < 10 && state.partNumber == c.part; ++k) {
      prevWas = was;
      was = s->t;
      double step = 0.04;
      s->draw(&step, nullptr, &state);
    }
    ASSERT_EQ(state.partNumber, c.part + 1);
    EXPECT_LE(c.seenBefore ? prevWas : was, c.end);  // the frame before did not hand over
    EXPECT_GT(c.seenBefore ? was : s->t, c.end);
    EXPECT_EQ(state.switched, c.flagged);
    EXPECT_EQ(state.values[0], s->t);
    double after = s->t;
    state.switched = false;
    double step = 0.04;
    s->draw(&step, nullptr, &state);
    EXPECT_EQ(s->t, after);
    EXPECT_FALSE(state.switched);
  }
}
