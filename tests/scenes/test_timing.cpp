// The time-script helpers (the clamped ends of ease, the rampIn seam, rot)
// and the shaking camera the scenes share: the offset of the look-at point,
// the swell and the roll (the record it reads is checked through the scenes).
#include <gtest/gtest.h>

#include "scenes/camera.h"
#include "scenes/timing.h"

TEST(timing, easeClampsAndIsSymmetricAndRampInBecomesLinearAtTheSeam) {
  EXPECT_EQ(ease(-5.0), 0.0);
  EXPECT_EQ(ease(0.0), 0.0);
  EXPECT_DOUBLE_EQ(ease(7.0), 1.0);
  EXPECT_NEAR(ease(0.25) + ease(0.75), 1.0, 1e-12);
  EXPECT_DOUBLE_EQ(ease(1.0, 3.0), 1.0);  // higher powers still run from 0 to 1, later
  EXPECT_LT(ease(0.3, 3.0), ease(0.3));
  EXPECT_EQ(rampIn(-2.0), 0.0);
  EXPECT_EQ(rampIn(0.0), 0.0);
  double seam = 1.0 / 0.3;
  EXPECT_NEAR(rampIn(seam - 1e-7), rampIn(seam + 1e-7), 1e-5);  // continuous
  EXPECT_DOUBLE_EQ(rampIn(10.0), 10.0);
  EXPECT_LT(rampIn(0.5), 0.2);  // starts like a power curve: well under x early on
}

// A turn about y alone puts +sin in element 2 as the uploads expect, and
// the three turns compose into a rotation.
TEST(timing, rotHasTheUploadSigns) {
  mat4 y = rot(0, 0.5, 0), r = rot(0.3, -1.2, 2.1);
  EXPECT_FLOAT_EQ(y.m[2], std::sin(0.5f));
  EXPECT_FLOAT_EQ(y.m[8], -std::sin(0.5f));
  for (int i = 0; i < 3; ++i)  // rows of unit length
    EXPECT_NEAR(r.m[i * 4] * r.m[i * 4] + r.m[i * 4 + 1] * r.m[i * 4 + 1] + r.m[i * 4 + 2] * r.m[i * 4 + 2], 1.0f, 1e-6);
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
}
