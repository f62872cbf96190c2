// The shaking camera the scenes share: the offset of the look-at point, the
// swell and the roll (the record it reads is checked through the scenes).
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/camera.h"

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
