// The reallife section's camera and flights, without GL.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/part_reallife.h"

namespace {

void expectNear(const vec3& a, const vec3& b, double tolerance, const char* what) {
  EXPECT_LE(length(a - b), tolerance) << what << ": " << a.x << ", " << a.y << ", " << a.z;
}

}  // namespace

TEST(reallifeCamera, radiusAndLensAtTheirKeys) {
  // at 26 s rampIn(2.4) = 1.2^2.2 + (2.4 - 1.2^2.2) 0.72 is still bending; from 1/0.3 it is x itself
  struct { double t, radius, fovy; } cases[] = {{0, 0.4, 15}, {5, 4.4, 15}, {16, 4.4, 15}, {20, 4.4, 17.8647451},
                                                {26, 6.5462, 30}, {30, 8.4, 38.8167787}, {36, 10.8, 45}, {69, 24.0, 45}};
  for (auto c : cases) {
    EXPECT_NEAR(reallifeRadius(c.t), c.radius, 1e-4) << "t = " << c.t;
    EXPECT_NEAR(reallifeFovy(c.t), c.fovy, 1e-6) << "t = " << c.t;
  }
}

TEST(reallifeCamera, swingsOutToXFiveAndEndsLookingAlongPlusX) {
  camera early = reallifePath(10);
  expectNear(early.eye, vec3(4.4f, 0, 0), 1e-5, "eye before the swing");
  expectNear(early.centre, vec3(0, 0, 0), 0, "centre before the swing");

  camera swung = reallifePath(33);  // the first move has arrived, the second not begun
  expectNear(swung.eye, vec3(float(5 + 5 * std::sin(-5.6)), -1, float(2 * std::cos(-5.6))), 1e-5, "eye at 33");
  expectNear(swung.centre, vec3(5, 0, 0), 1e-6, "centre at 33");

  for (double t : {54.0, 60.0, 69.0}) {
    camera late = reallifePath(t);
    expectNear(late.eye, vec3(3.4f, 0, 0), 1e-5, "eye from 54 s");
    expectNear(late.centre, vec3(6, 0, 0), 1e-5, "centre from 54 s");
  }
}

// Expected values worked out by hand from the 15-bit generator
// (state * 214013 + 2531011, bits 16-30): seed 2382 with 1000 draws
// discarded for the statues, seed 4242 for the birds.
TEST(reallifeFlights, statuesDrawTheirSevenNumbersInOrder) {
  EXPECT_TRUE(statuesAt(48.0).empty());
  EXPECT_EQ(statuesAt(48.01).size(), 5u);
  std::vector<statuePose> at55 = statuesAt(55), at64 = statuesAt(64);
  ASSERT_EQ(at55.size(), 5u);
  expectNear(at55[0].offset, vec3(0, -1.5857f, 1.8632f), 1e-3, "statue 0 at 55");
  EXPECT_NEAR(at55[0].spin, 1599.3759, 1e-2);
  EXPECT_NEAR(at55[0].tiltX, 0.1243, 1e-4);
  EXPECT_NEAR(at55[0].scale, 0.8170, 1e-4);
  expectNear(at55[4].offset, vec3(0, -2.7001f, -3.8228f), 1e-3, "statue 4 at 55");
  EXPECT_NEAR(at55[4].spin, -1144.1786, 1e-2);  // r4 >= 0.5 turns it the other way
  EXPECT_NEAR(at55[4].scale, 0.4273, 1e-4);
  // Later only the rise and the spin change.
  expectNear(at64[0].offset, vec3(0, 6.8040f, 1.8632f), 1e-3, "statue 0 at 64");
  expectNear(at64[2].offset, vec3(0, -0.9424f, 0.7601f), 1e-3, "statue 2 at 64");
  EXPECT_NEAR(at64[2].spin, -1346.7989, 1e-2);
}

TEST(reallifeFlights, birdsDrawTheirSixNumbersInOrder) {
  EXPECT_TRUE(birdsAt(49.0).empty());
  std::vector<birdPose> at55 = birdsAt(55), at64 = birdsAt(64);
  ASSERT_EQ(at55.size(), 11u);
  expectNear(at55[0].offset, vec3(14.6085f, 2.1195f, -4.0256f), 1e-3, "bird 0 at 55");
  EXPECT_NEAR(at55[0].clock, 61.0423, 1e-3);
  EXPECT_NEAR(at55[0].scale, 0.3591, 1e-4);
  expectNear(at55[10].offset, vec3(15.7938f, -2.2752f, -10.6154f), 1e-3, "bird 10 at 55");
  expectNear(at64[4].offset, vec3(16.0749f, 1.9335f, 31.0808f), 1e-3, "bird 4 at 64");
  EXPECT_NEAR(at64[4].clock, 76.0504, 1e-3);
}
