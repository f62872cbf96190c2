// mat4: products, the sign placement of each rotation, translation.
#include <gtest/gtest.h>

#include "geom/mat4.h"
#include "geom/vec3.h"

static_assert(sizeof(vec3[2]) == 24, "arrays of vec3 are uploaded as packed floats");

TEST(mat4Math, productsApplyTheRightOperandFirstAndRotationsKeepTheirSigns) {
  mat4 t, r, x, y;
  t.translate(5, 0, 0);
  r.rotateZ(float(M_PI / 2));
  EXPECT_NEAR(r.m[1], -1.0f, 1e-6);
  EXPECT_NEAR(r.m[4], 1.0f, 1e-6);
  mat4 tr = t * r;  // the point (1, 0, 0) under R goes to (0, -1, 0) (R turns by -a), then +5 in x
  EXPECT_NEAR(tr.m[0] + tr.m[12], 5.0f, 1e-6);
  EXPECT_NEAR(tr.m[1] + tr.m[13], -1.0f, 1e-6);
  x.rotateX(0.5f);
  EXPECT_NEAR(x.m[6], -std::sin(0.5f), 1e-6);
  EXPECT_NEAR(x.m[9], std::sin(0.5f), 1e-6);
  y.rotateY(0.5f);
  EXPECT_NEAR(y.m[2], std::sin(0.5f), 1e-6);
  EXPECT_NEAR(y.m[8], -std::sin(0.5f), 1e-6);
}

TEST(mat4Math, translationMovesAlongOwnAxesAndRotationsAndTheBasisKeepIt) {
  mat4 m, n, sample;
  for (int i = 0; i < 16; ++i) sample.m[i] = float(i * 3 % 7) - 2.5f;
  m.m[0] = 0, m.m[1] = 1;  // first column (0, 1, 0, 0)
  m.m[12] = 1, m.m[13] = 1, m.m[14] = 1;
  m.translate(1, 0, 0);
  EXPECT_EQ(std::vector<float>(m.m + 12, m.m + 15), (std::vector<float>{1, 2, 1}));
  m.rotateX(1.1f);
  m.rotateY(-0.3f);
  m.rotateZ(2.0f);
  EXPECT_EQ(std::vector<float>(m.m + 12, m.m + 15), (std::vector<float>{1, 2, 1}));
  n.rotateY(0.7f);
  mat4 expected = sample * n;
  n.m[12] = 100, n.m[13] = 200, n.m[14] = 300;  // applyBasis uses only the rotation part
  m = sample;
  m.applyBasis(n);
  for (int k = 0; k < 12; ++k) EXPECT_NEAR(m.m[k], expected.m[k], 1e-5) << k;
  EXPECT_EQ(m.m[12], sample.m[12]);
}
