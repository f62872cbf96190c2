// The shaking camera the scenes share: the record read at a time-derived
// index, the offset of the look-at point, the swell, the roll and the record
// of two frames.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/camera.h"
#include "scenes/part_start.h"
#include "scenes/timing.h"

TEST(shakeCamera, theSampleCarriesTheRecordsPointAndValue) {
  route r;
  for (int i = 0; i < 11; ++i) {
    r.points.push_back(vec3(0.5f * float(i), 1.0f - 0.25f * float(i), 0));
    r.valuesA.push_back(100.0 + i);
  }
  shakeSample s = shakeAt(r, -10.4);  // -10 taken as unsigned, modulo 10: record 6
  EXPECT_EQ(s.index, 6);
  EXPECT_FLOAT_EQ(s.p.x, 3.0f);
  EXPECT_DOUBLE_EQ(s.a, 106.0);
  r.points.resize(1);
  EXPECT_EQ(shakeAt(r, 5.0).index, -1);
  EXPECT_FLOAT_EQ(shakeAt(r, 5.0).p.x, 0.0f);
  // The start scene's camera, written out by hand: eye (0, 0, 7) on the
  // origin, the look-at point moved by record 2's point times the base amplitude.
  r.points = {vec3(0, 0, 0), vec3(0, 0, 0), vec3(2, -3, 0), vec3(0, 0, 0)};
  startValues v = startScript(3.0, r);  // 35 * 3 - 76 = 29: record 29 mod 3 = 2
  ASSERT_EQ(v.shakeIndex, 2);
  vec3 moved;
  camera c = startCamera(v, r, moved);
  EXPECT_FLOAT_EQ(c.centre.x, 2 * 0.0002262f * 1.5f);
  EXPECT_FLOAT_EQ(c.centre.y, -3 * 0.0002262f * 1.5f);
  EXPECT_EQ(c.centre.z, 0.0f);
  EXPECT_EQ(c.eye.z, 7.0f);
  EXPECT_EQ(c.fovy, 55);
}

TEST(shakeCamera, offsetFollowsTheViewAndSwellAndRollAtKeyedTimes) {
  camera c;
  c.eye = vec3(5, 0, 0);  // looking along -x: the side vector is +z
  vec3 o = shakeOffset(c, vec3(2, 3, 0), 0.5f);
  EXPECT_LT(length(o - vec3(0, 1.5f, -1.0f)), 1e-6f);
  c.eye = c.centre;  // no direction: the side vector is zero, only up remains
  EXPECT_NEAR(shakeOffset(c, vec3(2, 3, 0), 1).x, 0.0f, 1e-6);
  EXPECT_FLOAT_EQ(shakeSwell(10), 1.0f);
  EXPECT_FLOAT_EQ(shakeSwell(40), 6.0f);
  EXPECT_FLOAT_EQ(shakeSwell(60), 1.0f);
  EXPECT_FLOAT_EQ(shakeRoll(0, 1), 0.0f);
  EXPECT_NEAR(shakeRoll(1, 1), 0.4 * std::sin(1.7188733853924696), 1e-6);
}

TEST(shakeCamera, keyedMoveAndRecord) {
  vec3 v(0, 0, 0);
  keyedMove(v, vec3(4, 2, 1), 0.0);
  EXPECT_FLOAT_EQ(v.x, 0.0f);
  keyedMove(v, vec3(4, 2, 1), 0.25);
  EXPECT_FLOAT_EQ(v.x, 1.0f);
  keyedMove(v, vec3(4, 2, 1), 1.0);
  EXPECT_FLOAT_EQ(v.y, 2.0f);
  shakeRecord rec;
  rec.push(vec3(1, 2, 0));
  rec.push(vec3(1.5f, 1, 0));
  EXPECT_FLOAT_EQ(rec.moved().x, 0.5f);
  EXPECT_FLOAT_EQ(rec.moved().y, -1.0f);
}
