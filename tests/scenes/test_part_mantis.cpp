// The mantis section's clock, hand-over and time script, without GL.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "scenes/part_mantis.h"
#include "scenes/sections.h"
#include "tests/support/testfiles.h"

namespace {

const double Pace = 1.05 * 0.915 * 0.968;

std::unique_ptr<part_mantis> sectionAt(double t) {
  std::unique_ptr<part_mantis> s(static_cast<part_mantis*>(createSection(4)));
  s->setClock(t);
  return s;
}

route strokeOf(std::initializer_list<vec3> points) {
  route r;
  r.points = points;
  r.count = int(r.points.size());
  return r;
}

// A straight stroke along x of n points with the given pressure.
route straightStroke(int n, float pressure) {
  route r;
  for (int i = 0; i < n; ++i) r.points.push_back(vec3(0.01f * float(i), 0.2f, pressure));
  r.count = n;
  return r;
}

float halfWidthAt(const ribbonEdge& e) { return 0.5f * std::hypot(e.lx - e.rx, e.ly - e.ry); }

}  // namespace

TEST(mantisSection, theStepIsScaledOnEveryCallEvenWhenAnotherSectionIsCurrent) {
  for (int part : {3, 4, 5}) {
    auto s = sectionAt(10.0);
    FrameState state;
    state.partNumber = part;
    double step = 0.04;
    s->draw(&step, nullptr, &state);
    EXPECT_NEAR(step, 0.04 * Pace, 1e-15) << part;
    EXPECT_NEAR(Pace, 0.930006, 1e-6);
    EXPECT_EQ(s->t, part == 4 ? 10.0 + step : 10.0) << part;
    EXPECT_EQ(state.partNumber, part);
  }
}

TEST(mantisSection, handsOverPast97_7WithoutTheFlagSoTheEndDrawsInTheSameFrame) {
  auto s = sectionAt(97.68);
  std::unique_ptr<scene> end(createSection(5));
  FrameState state;
  state.partNumber = 4;
  double step = 0.01;
  s->draw(&step, nullptr, &state);
  EXPECT_EQ(state.partNumber, 4);  // 97.689: still playing
  step = 0.04;
  s->draw(&step, nullptr, &state);
  EXPECT_GT(s->t, 97.7);
  EXPECT_EQ(state.partNumber, 5);
  EXPECT_FALSE(state.switched);  // the driver goes on down the chain
  EXPECT_EQ(state.values[0], s->t);
  // the end section, next in the chain, sees part 5 and the scaled step
  end->draw(&step, nullptr, &state);
  EXPECT_GT(end->t, 0.0);
  EXPECT_NEAR(end->t, 0.04 * Pace * 0.91, 1e-12);
}

TEST(mantisScript, strokeFramesPlayAt18PerSecondAndStopAtTheLast) {
  route none;
  struct { double t; int k; } cases[] = {{0, 0}, {1.0 / 18, 1}, {1.0, 18}, {87.8, 1580}, {100, 1580}};
  for (auto c : cases) EXPECT_EQ(mantisScript(c.t, none).strokeFrame, c.k) << "t = " << c.t;
}

TEST(mantisScript, panAndDollyAtKeyedTimes) {
  route none;
  struct { double t; float dx, dz; } cases[] = {
      {0, 0.3f, 0}, {4.6, 0.3f, 0}, {9.6, -0.25f, 0}, {14.6, -0.7712f, 0}, {25, -0.1f, 0},
      {64, -0.1f, 0}, {69, 0.14f, -0.18f}, {78.5, 0.14f, -0.18f}, {90, 0.044f, -0.356f}};
  for (auto c : cases) {
    mantisValues v = mantisScript(c.t, none);
    EXPECT_NEAR(v.dx, c.dx, 2e-3) << "t = " << c.t;
    EXPECT_NEAR(v.dz, c.dz, 2e-3) << "t = " << c.t;
    // pan moves eye and look-at point alike (the eye's share only through the
    // lens: "CamPos" stays unpanned); the dolly moves the eye only
    camera cam = mantisCamera(v, none, 0);
    EXPECT_FLOAT_EQ(cam.eye.x, 0) << "t = " << c.t;
    EXPECT_FLOAT_EQ(cam.lookShift.x, v.dx) << "t = " << c.t;
    EXPECT_FLOAT_EQ(cam.centre.x, v.dx) << "t = " << c.t;
    EXPECT_FLOAT_EQ(cam.eye.z, 2 + v.dz) << "t = " << c.t;
    EXPECT_FLOAT_EQ(cam.centre.z, 0) << "t = " << c.t;
    EXPECT_DOUBLE_EQ(cam.fovy, 51.4);
  }
}

TEST(mantisScript, glowFadesInOutAndInAgain) {
  route none;
  struct { double t, g; } cases[] = {{2, 0}, {3 + 1 / 0.6, 0.5}, {40, 1}, {82.5 + 1 / 0.6, 0.5}, {86, 0}, {95, 1}};
  for (auto c : cases) EXPECT_NEAR(mantisScript(c.t, none).glow, c.g, 1e-6) << "t = " << c.t;
}

TEST(mantisScript, theShakeMovesEyeAndLookAtPointTogether) {
  route track;
  for (int i = 0; i < 400; ++i) track.points.push_back(vec3(float(i % 7) - 3, 0, 0));
  mantisValues v = mantisScript(30.0, track);
  ASSERT_GE(v.shakeSide, 0);
  ASSERT_GE(v.shakeUp, 0);
  EXPECT_NE(v.shakeSide, v.shakeUp);  // two tracks read 81 records apart
  camera cam = mantisCamera(v, track, 0);
  float side = track.points[size_t(v.shakeSide)].x * 0.0002f, up = track.points[size_t(v.shakeUp)].x * 0.0002f;
  EXPECT_NEAR(cam.centre.x - v.dx, side, 1e-7);
  EXPECT_NEAR(cam.eye.x, side, 1e-7);
  EXPECT_NEAR(cam.centre.y, up, 1e-7);
  EXPECT_NEAR(cam.eye.y, up, 1e-7);
  EXPECT_EQ(mantisScript(30.0, route()).shakeSide, -1);  // no track, no shake
}

TEST(mantisRibbon, onlyStrokesAfterThePlaceholderWithMoreThan15PointsAreDrawn) {
  EXPECT_FALSE(strokeDrawn(straightStroke(40, 0.5f), 0));
  EXPECT_FALSE(strokeDrawn(straightStroke(15, 0.5f), 3));
  EXPECT_TRUE(strokeDrawn(straightStroke(16, 0.5f), 1));
}

TEST(mantisRibbon, widthFollowsPressureAndStaysSquareOnScreen) {
  std::vector<ribbonEdge> light, heavy;
  buildRibbon(straightStroke(20, 0.2f), 0.01f, DrawingStretch, light);
  buildRibbon(straightStroke(20, 0.9f), 0.01f, DrawingStretch, heavy);
  ASSERT_EQ(light.size(), 20u);
  EXPECT_NEAR(halfWidthAt(light[5]), 0.01f * 0.32f, 1e-6);
  EXPECT_NEAR(halfWidthAt(heavy[5]), 0.01f * 1.02f, 1e-6);
  EXPECT_FLOAT_EQ(light[10].pressure, 0.2f);
  // a stroke along x: the sides lie straight above and below each point
  EXPECT_NEAR(heavy[5].lx, 0.05f, 1e-6);
  EXPECT_NEAR(heavy[5].ly - heavy[5].ry, 2 * 0.01f * 1.02f, 1e-6);
  EXPECT_NEAR(heavy[19].along, 0.19f * DrawingStretch * 7.0f, 1e-4);

  // A diagonal stroke: after the x stretch the ribbon's sides are square to
  // it on screen, so its screen width is the same as the straight one's.
  route diagonal;
  for (int i = 0; i < 20; ++i) diagonal.points.push_back(vec3(0.01f * i, 0.01f * i, 0.9f));
  std::vector<ribbonEdge> d;
  buildRibbon(diagonal, 0.01f, DrawingStretch, d);
  float sx = (d[5].lx - d[5].rx) * DrawingStretch, sy = d[5].ly - d[5].ry;
  EXPECT_NEAR(std::hypot(sx, sy), 2 * 0.01f * 1.02f, 1e-6);
  EXPECT_NEAR(sx * DrawingStretch * 0.01f + sy * 0.01f, 0, 1e-7);  // square to the screen direction
}

TEST(mantisRibbon, repeatedPointsKeepThePreviousSideAndGiveNoNaN) {
  route r = strokeOf({vec3(0, 0, 0.5f), vec3(0.1f, 0, 0.5f), vec3(0.2f, 0, 0.5f), vec3(0.2f, 0, 0.5f),
                      vec3(0.2f, 0, 0.5f), vec3(0.2f, 0, 0.5f), vec3(0.3f, 0, 0.5f)});
  std::vector<ribbonEdge> out;
  buildRibbon(r, 0.01f, 1.0f, out);
  ASSERT_EQ(out.size(), 7u);
  for (const ribbonEdge& e : out) {
    for (float f : {e.lx, e.ly, e.rx, e.ry, e.along}) EXPECT_TRUE(std::isfinite(f));
    EXPECT_NEAR(e.ly - e.ry, 2 * 0.01f * 0.62f, 1e-6);  // the side of the points before
  }
  // every point the same: the upright side, still finite
  route still = strokeOf({vec3(0.4f, 0.4f, 1), vec3(0.4f, 0.4f, 1), vec3(0.4f, 0.4f, 1)});
  buildRibbon(still, 0.01f, DrawingStretch, out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_NEAR(out[1].ly - out[1].ry, 2 * 0.01f * 1.12f, 1e-6);
  // points that are not numbers are left out
  route broken = strokeOf({vec3(0, 0, 1), vec3(NAN, 0, 1), vec3(0.1f, INFINITY, 1), vec3(0.2f, 0, 1)});
  buildRibbon(broken, 0.01f, 1.0f, out);
  EXPECT_EQ(out.size(), 2u);
}

TEST(mantisRibbon, colourFollowsLengthAndTint) {
  vec3 mid(0.5f, 0.5f, 0.5f);
  vec3 chalk = strokeColour(1.0f, mid, 0);
  EXPECT_NEAR(chalk.x, 0.96f, 1e-6);
  EXPECT_NEAR(chalk.z, 0.84f, 1e-6);
  vec3 full = strokeColour(1.0f, mid, 1);
  EXPECT_NEAR(full.x, 0.5f * std::sin(4.0f) + 0.5f, 1e-6);
  EXPECT_NEAR(full.y, 1.0f, 1e-6);  // 0.5 sin 1.04 + 0.75 is clamped
  EXPECT_NE(strokeColour(0.3f, mid, 1).x, full.x);
  EXPECT_FLOAT_EQ(strokeLength(straightStroke(11, 0.5f)), 0.1f);
}

TEST(mantisStrokes, aMissingFrameKeepsTheLastStrokesAndIsLoggedOnce) {
  // one stroke frame: a placeholder and one stroke of 16 points
  std::string bytes;
  auto put32 = [&](int v) { for (int k = 0; k < 4; ++k) bytes += char((v >> (8 * k)) & 255); };
  auto put16 = [&](int v) { bytes += char(v & 255); bytes += char((v >> 8) & 255); };
  put32(2);
  for (int s = 0; s < 2; ++s) {
    put32(16);
    for (int i = 0; i < 16; ++i) put16(i * 100), put16(0), put16(200);
  }
  std::string good = writeTestFile("mantis_frame_0.rt", bytes);
  auto s = sectionAt(0);
  s->strokeFiles = {good, good + ".missing"};
  s->readStrokes(0.0);
  ASSERT_EQ(s->strokes.size(), 2u);
  EXPECT_EQ(s->strokes[1].points.size(), 16u);
  logCapture log;
  s->readStrokes(1.0 / 18);  // frame 1: missing
  s->readStrokes(3.0 / 18);  // frame 3: missing again
  EXPECT_EQ(s->strokeFrame, 3);
  EXPECT_EQ(s->strokes.size(), 2u);
  EXPECT_EQ(log.lines().size(), 1u) << log.text();
  s->strokeFiles.clear();  // no stroke files at all: nothing to read, nothing new drawn
  s->readStrokes(5.0);
  EXPECT_EQ(s->strokes.size(), 2u);
  std::remove(good.c_str());
}
