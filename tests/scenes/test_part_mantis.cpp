// The mantis section's time script, stroke ribbons and stroke frames, without GL.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/part_mantis.h"
#include "scenes/sections.h"
#include "tests/support/testfiles.h"

namespace {

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

TEST(mantisScript, strokeFramesAt18PerSecondAndTheGlowAtKeyedTimes) {
  route none;
  struct { double t; int k; } frames[] = {{0, 0}, {1.0 / 18, 1}, {1.0, 18}, {87.8, 1580}, {100, 1580}};
  for (auto c : frames) EXPECT_EQ(mantisScript(c.t, none).strokeFrame, c.k) << "t = " << c.t;
  // in, out and in again
  struct { double t, g; } glow[] = {{2, 0}, {3 + 1 / 0.6, 0.5}, {40, 1}, {82.5 + 1 / 0.6, 0.5}, {86, 0}, {95, 1}};
  for (auto c : glow) EXPECT_NEAR(mantisScript(c.t, none).glow, c.g, 1e-6) << "t = " << c.t;
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
    EXPECT_TRUE(cam.eye.x == 0 && cam.lookShift.x == v.dx && cam.centre.x == v.dx && cam.centre.z == 0)
        << "t = " << c.t;
    EXPECT_FLOAT_EQ(cam.eye.z, 2 + v.dz) << "t = " << c.t;
  }
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
  EXPECT_NEAR(full.y, 1.0f, 1e-6);  // clamped
  EXPECT_NE(strokeColour(0.3f, mid, 1).x, full.x);
  EXPECT_FLOAT_EQ(strokeLength(straightStroke(11, 0.5f)), 0.1f);
}

TEST(mantisStrokes, aMissingFrameKeepsTheLastStrokesAndIsLoggedOnce) {
  // one stroke frame: a placeholder and one stroke of 16 points, 16-bit x, y, pressure
  std::string bytes("\2\0\0\0", 4);
  for (int s = 0; s < 2; ++s) {
    bytes += std::string("\x10\0\0\0", 4);
    for (int i = 0; i < 16; ++i) bytes += std::string{char(i * 100 & 255), char(i * 100 >> 8), 0, 0, char(200), 0};
  }
  scratchDir dir;
  std::string good = dir.write("prs_0000.rt", bytes);
  std::unique_ptr<part_mantis> s(static_cast<part_mantis*>(createSection(4)));
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
}
