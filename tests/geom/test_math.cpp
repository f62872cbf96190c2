// vec3 and mat4: products, the sign placement of each rotation, translation.
#include <gtest/gtest.h>

#include "geom/mat4.h"
#include "geom/vec3.h"

static mat4 sample() {
  mat4 m;
  for (int i = 0; i < 16; ++i) m.m[i] = float(i * 3 % 7) - 2.5f;
  return m;
}

TEST(mat4Math, identityProductsLeaveTheMatrix) {
  mat4 i, m = sample();
  i.identity();
  mat4 a = i * m, b = m * i;
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(a.m[k], m.m[k]);
    EXPECT_EQ(b.m[k], m.m[k]);
  }
}

TEST(mat4Math, productAppliesRightOperandFirst) {
  mat4 t, r;  // translate then rotate: (T*R) moves a rotated point
  t.translate(5, 0, 0);
  r.rotateZ(float(M_PI / 2));
  mat4 tr = t * r;
  // the point (1, 0, 0) under R goes to (0, -1, 0) (R turns by -a), then +5 in x
  float x = tr.m[0] * 1 + tr.m[12], y = tr.m[1] * 1 + tr.m[13];
  EXPECT_NEAR(x, 5.0f, 1e-6);
  EXPECT_NEAR(y, -1.0f, 1e-6);
}

TEST(mat4Math, rotationSignPlacement) {
  mat4 z;
  z.rotateZ(float(M_PI / 2));
  EXPECT_NEAR(z.m[1], -1.0f, 1e-6);
  EXPECT_NEAR(z.m[4], 1.0f, 1e-6);
  mat4 x;
  x.rotateX(0.5f);
  EXPECT_NEAR(x.m[6], -std::sin(0.5f), 1e-6);
  EXPECT_NEAR(x.m[9], std::sin(0.5f), 1e-6);
  mat4 y;
  y.rotateY(0.5f);
  EXPECT_NEAR(y.m[2], std::sin(0.5f), 1e-6);
  EXPECT_NEAR(y.m[8], -std::sin(0.5f), 1e-6);
}

TEST(mat4Math, rotationsKeepTheTranslation) {
  mat4 m = sample();
  m.m[12] = 5;
  m.m[13] = 6;
  m.m[14] = 7;
  m.rotateX(1.1f);
  m.rotateY(-0.3f);
  m.rotateZ(2.0f);
  EXPECT_EQ(m.m[12], 5);
  EXPECT_EQ(m.m[13], 6);
  EXPECT_EQ(m.m[14], 7);
}

TEST(mat4Math, translateMovesAlongOwnAxes) {
  mat4 m;
  m.m[0] = 0; m.m[1] = 1; m.m[2] = 0; m.m[3] = 0;  // first column (0, 1, 0, 0)
  m.m[12] = 1; m.m[13] = 1; m.m[14] = 1;
  m.translate(1, 0, 0);
  EXPECT_EQ(m.m[12], 1);
  EXPECT_EQ(m.m[13], 2);
  EXPECT_EQ(m.m[14], 1);
}

TEST(mat4Math, applyBasisUsesOnlyTheRotationPart) {
  mat4 m = sample(), n;
  n.rotateY(0.7f);
  mat4 expected = m * n;
  n.m[12] = 100, n.m[13] = 200, n.m[14] = 300;
  m.applyBasis(n);
  for (int k = 0; k < 12; ++k) EXPECT_NEAR(m.m[k], expected.m[k], 1e-5) << k;
  EXPECT_EQ(m.m[12], sample().m[12]);
}

// Arrays of vec3 are uploaded as packed floats.
TEST(vec3Math, packedAndComponentWise) {
  vec3 d = vec3(1, 2, 3) - vec3(0.5f, -1, 4);
  EXPECT_EQ(d.z, -1);
  static_assert(sizeof(vec3[2]) == 24, "three packed floats");
}
