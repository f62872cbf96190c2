// The theend section's time script, and what follows its hand-over, without GL.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "scenes/part_theend.h"
#include "scenes/sections.h"

// Past the end no section plays: every one only looks (the mantis still
// scales the step, as it does on every call). The end's own hand-over is
// held with the others' in test_sections.cpp.
TEST(endSection, nothingIsCurrentAfterTheEnd) {
  FrameState state;
  state.partNumber = 6;
  for (int part = 0; part < SectionCount; ++part) {
    std::unique_ptr<scene> s(createSection(part));
    double before = s->t, step = 0.04;
    s->draw(&step, nullptr, &state);
    EXPECT_EQ(s->t, before) << part;
    EXPECT_EQ(state.partNumber, 6) << part;
  }
}

TEST(endScript, cameraDistanceAndLensAtKeyedTimes) {
  route none;
  EXPECT_NEAR(endScript(0, none).distance, 12.12, 0.01);
  EXPECT_NEAR(endScript(3, none).distance, 7, 1e-12);
  EXPECT_NEAR(endScript(1, none).fovy, 55, 1e-12);
  EXPECT_NEAR(endScript(9, none).fovy, 55 + 2.2 * 4, 1e-9);  // rampIn(4) = 4: opened by 8.8 degrees
  EXPECT_NEAR(endScript(12.3, none).fovy, 47.4, 0.05);
  // the circle starts at 4 s, the rise at 8 s
  EXPECT_EQ(endScript(4, none).angle, 0);
  EXPECT_GT(endScript(5, none).angle, 0);
  EXPECT_EQ(endScript(8, none).height, 0);
  EXPECT_GT(endScript(9, none).height, 0);
}

TEST(endScript, theEyeCirclesTheWordAndTheShakeMovesOnlyTheLookAtPoint) {
  route track;
  for (int i = 0; i < 300; ++i) track.points.push_back(vec3(float(i % 5) - 2, float(i % 3) - 1, 0));
  endValues v = endScript(12, track);
  EXPECT_NEAR(v.shakeAmplitude, 0.0002262f * 4.5f, 1e-9);
  camera c = endCamera(v, track);
  EXPECT_NEAR(std::hypot(c.eye.x, c.eye.z), v.distance, 1e-5);
  EXPECT_NEAR(std::atan2(c.eye.x, c.eye.z), v.angle, 1e-5);
  EXPECT_FLOAT_EQ(c.eye.y, float(v.height));
  vec3 p = track.points[size_t(v.shakeIndex)];
  // sideways (square to the eye's bearing) by p.x and up by p.y, never toward the word
  EXPECT_NEAR(c.centre.x * c.eye.x + c.centre.z * c.eye.z, 0, 1e-8);
  EXPECT_NE(c.centre.x, 0);
  EXPECT_FLOAT_EQ(c.centre.y, p.y * v.shakeAmplitude);
}
