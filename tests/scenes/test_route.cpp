// Routes: shake track loop closure and smoothing, text routes, stroke frames
// (listing, truncated files), the Catmull-Rom curve and its resampling.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "scenes/route.h"
#include "tests/support/testfiles.h"

namespace {

// One shake record as the file holds it: three floats, then values A and B.
#pragma pack(push, 1)
struct shakeRecord {
  float x, y, z;
  double a, b;
};
#pragma pack(pop)
static_assert(sizeof(shakeRecord) == 28, "the file's record size");

route shakeTrack(const std::vector<shakeRecord>& recs) {
  std::string name = writeTestFile("track.sav", std::string(reinterpret_cast<const char*>(recs.data()),
                                                            recs.size() * sizeof(shakeRecord)));
  route r;
  readShakeTrack(r, name.c_str());
  return r;
}

std::vector<shakeRecord> rampRecords(int n) {
  std::vector<shakeRecord> recs;
  for (int i = 0; i < n; ++i) recs.push_back({float(i + 1), float(2 * i), 0.5f, 10.0 * i + 3, -1.0 * i});
  return recs;
}

void put32(std::string& out, int32_t v) {
  for (int k = 0; k < 4; ++k) out += char((uint32_t(v) >> (8 * k)) & 0xFF);
}

// One stroke of n points; point i is (x0 + i, -i, pressure 255), 16 bits each.
void putStroke(std::string& out, int n, int x0) {
  put32(out, n);
  for (int i = 0; i < n; ++i)
    for (int v : {x0 + i, -i, 255}) out += char(v & 0xFF), out += char((v >> 8) & 0xFF);
}

std::vector<route> strokesOf(const std::string& bytes) {
  std::vector<route> strokes;
  readStrokeFrame(writeTestFile("frame.rt", bytes).c_str(), strokes);
  return strokes;
}

route lineRoute(int n) {
  route r;
  for (int i = 0; i < n; ++i) r.points.push_back(vec3(float(i), float(i * i) * 0.1f, 1));
  r.count = n;
  return r;
}

}  // namespace

TEST(shakeTrack, sixRecordsCloseOntoRecordZeroAndFiveAreLeftAlone) {
  route r = shakeTrack(rampRecords(6));
  ASSERT_FALSE(r.points.empty());
  for (const vec3& p : r.points) {
    EXPECT_FLOAT_EQ(p.x, 1.0f);
    EXPECT_FLOAT_EQ(p.y, 0.0f);
    EXPECT_FLOAT_EQ(p.z, 0.5f);
  }
  ASSERT_EQ(r.valuesA.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_NEAR(r.valuesA[i], 3.0, 1e-4);
    EXPECT_NEAR(r.valuesB[i], 0.0, 1e-4);
  }
  r = shakeTrack(rampRecords(5));
  ASSERT_EQ(r.valuesA.size(), 5u);
  EXPECT_DOUBLE_EQ(r.valuesA[4], 43.0);
  EXPECT_DOUBLE_EQ(r.valuesB[4], -4.0);
}

TEST(shakeTrack, longTrackIsSmoothAndLoops) {
  std::vector<shakeRecord> recs;
  for (int i = 0; i < 600; ++i) {
    float noisy = (i % 2 ? 1.0f : -1.0f) * 5.0f;  // alternating jitter the smoothing removes
    recs.push_back({float(50 * std::sin(i * 0.05)) + noisy, float(i % 7), 0, 100 * std::sin(i * 0.02), double(i % 3)});
  }
  route r = shakeTrack(recs);
  ASSERT_EQ(r.points.size(), 600u);
  ASSERT_EQ(r.valuesA.size(), 600u);
  float worstStep = 0;
  for (size_t i = 1; i < 590; ++i) worstStep = std::max(worstStep, std::fabs(r.points[i].x - r.points[i - 1].x));
  EXPECT_LT(worstStep, 4.0f);  // the raw track jumps by 10 every record
  double worstA = 0;
  for (size_t i = 0; i < 600; ++i) {
    EXPECT_LE(std::fabs(r.valuesA[i]), 101.0);
    if (i > 0) worstA = std::max(worstA, std::fabs(r.valuesA[i] - r.valuesA[i - 1]));
  }
  EXPECT_LT(worstA, 5.0);
}

// Fewer than two points mean no shake (no modulo by zero); a negative index
// is taken as unsigned, truncated toward zero.
TEST(shakeTrack, indexHandlesShortTracksAndNegativeIndices) {
  route r = lineRoute(3);
  readShakeTrack(r, "no_such_track.sav");
  EXPECT_EQ(r.points.size(), 3u);
  vec3 p(5, 5, 5);
  EXPECT_FALSE(shakePoint(route(), 12.0, p));
  EXPECT_EQ(p.x, 0.0f);
  EXPECT_EQ(shakeIndex(lineRoute(1), 3.0), -1);

  r = lineRoute(101);  // modulo 100
  EXPECT_EQ(shakeIndex(r, -10.0), long(4294967286u % 100u));
  EXPECT_EQ(shakeIndex(r, -10.7), long(4294967286u % 100u));
  EXPECT_EQ(shakeIndex(r, 250.9), 50);
  EXPECT_TRUE(shakePoint(r, 250.0, p));
  EXPECT_EQ(p.x, 50.0f);
}

TEST(curve, evaluateHitsPointsClampsOpenEndsAndWrapsClosedOnes) {
  route r = lineRoute(6);
  vec3 out;
  for (int i = 0; i < 6; ++i) {
    evaluate(r, float(i), out);
    EXPECT_EQ(out.x, r.points[i].x);
    EXPECT_EQ(out.y, r.points[i].y);
  }
  evaluate(r, 7.5f, out);
  EXPECT_EQ(out.x, 5.0f);
  evaluate(r, -0.5f, out);
  EXPECT_EQ(out.x, 0.0f);
  evaluate(r, 2.5f, out);
  EXPECT_GT(out.x, 2.0f);
  EXPECT_LT(out.x, 3.0f);

  r = lineRoute(5);
  r.closed = true;
  evaluate(r, 5.0f, out);
  EXPECT_EQ(out.x, r.points[0].x);
  evaluate(r, -1.0f, out);
  EXPECT_NEAR(out.x, r.points[4].x, 1e-3);
  evaluate(r, 4.5f, out);  // between the last point and the first
  EXPECT_GT(out.x, 0.0f);
  EXPECT_LT(out.x, 4.0f);
}

TEST(curve, resampleSpacesPointsEvenlyAndLeavesShortRoutesAlone) {
  route shortOne = lineRoute(3);
  resample(shortOne, 20, 3);
  EXPECT_EQ(shortOne.points.size(), 3u);
  EXPECT_EQ(shortOne.points[2].x, 2.0f);

  route r;
  r.closed = true;
  r.valuesA.assign(12, 1.0);
  for (int i = 0; i < 12; ++i) {
    double a = 2 * M_PI * (i + 0.4 * std::sin(i)) / 12;  // unevenly spaced on the unit circle
    r.points.push_back(vec3(float(std::cos(a)), float(std::sin(a)), 0));
  }
  resample(r, 48, 3);
  ASSERT_EQ(r.points.size(), 48u);
  EXPECT_EQ(r.count, 48);
  EXPECT_TRUE(r.valuesA.empty());
  float lo = 1e9f, hi = 0;
  for (size_t i = 0; i < 48; ++i) {
    vec3 d = r.points[(i + 1) % 48] - r.points[i];
    float len = std::sqrt(d.x * d.x + d.y * d.y);
    lo = std::min(lo, len);
    hi = std::max(hi, len);
    EXPECT_NEAR(std::sqrt(r.points[i].x * r.points[i].x + r.points[i].y * r.points[i].y), 1.0, 0.03);
  }
  EXPECT_LT(hi / lo, 1.1f);
  EXPECT_NEAR(hi, 2 * M_PI / 48, 0.02);
}

TEST(textRoute, readsCountedPoints) {
  std::string name = writeTestFile("cam.rt", "3\n0.5 1 -2\n3 4 5\n6e-1 7 8\n99 99 99\n");
  route r = lineRoute(9);
  r.valuesA.assign(9, 1.0);
  readTextRoute(r, name.c_str());
  ASSERT_EQ(r.points.size(), 3u);
  EXPECT_EQ(r.count, 3);
  EXPECT_EQ(r.degree, 3);
  EXPECT_TRUE(r.valuesA.empty());
  EXPECT_FLOAT_EQ(r.points[0].z, -2.0f);
  EXPECT_FLOAT_EQ(r.points[2].x, 0.6f);
}

TEST(strokeFrames, listingIsSortedAndFiltered) {
  scratchDir dir;
  const char* names[] = {"prs_0010.rt", "prs_0002.rt", "prs_1580.rt", "prs_0000.rt", "other.rt", "prs_0003.txt"};
  for (const char* n : names) dir.write(n, "");
  std::vector<std::string> list = {"stale"};
  std::string pattern = dir.path("/prs_*.rt"), prefix = dir.path("/");
  listStrokeFrames(list, pattern.c_str(), prefix.c_str(), true);
  EXPECT_EQ(list, (std::vector<std::string>{prefix + "prs_0000.rt", prefix + "prs_0002.rt", prefix + "prs_0010.rt",
                                            prefix + "prs_1580.rt"}));
  listStrokeFrames(list, pattern.c_str(), prefix.c_str(), false);
  EXPECT_EQ(list.size(), 8u);
  listStrokeFrames(list, "no_such_folder//prs_*.rt", "x", true);
  EXPECT_TRUE(list.empty());
}

TEST(strokeFrames, readsStrokesAndScales) {
  std::string data;
  put32(data, 2);
  putStroke(data, 16, -15000);
  putStroke(data, 20, 100);
  std::vector<route> strokes = strokesOf(data);
  ASSERT_EQ(strokes.size(), 2u);
  ASSERT_EQ(strokes[0].points.size(), 16u);
  EXPECT_EQ(strokes[1].count, 20);
  EXPECT_FLOAT_EQ(strokes[0].points[0].x, -1.0f);
  EXPECT_FLOAT_EQ(strokes[0].points[3].y, -3.0f / 15000.0f);
  EXPECT_FLOAT_EQ(strokes[1].points[5].z, 1.0f);
}

TEST(strokeFrames, damagedFilesStopAtTheLastCompleteStroke) {
  std::string data;
  put32(data, 3);
  putStroke(data, 16, 0);
  putStroke(data, 17, 0);
  putStroke(data, 30, 0);
  data.resize(data.size() - 7);  // the third stroke is cut short
  EXPECT_EQ(strokesOf(data).size(), 2u);

  data.clear();
  put32(data, 5);
  putStroke(data, 16, 0);
  put32(data, -4);  // negative point count
  putStroke(data, 16, 0);
  EXPECT_EQ(strokesOf(data).size(), 1u);

  data.clear();
  put32(data, -1);  // negative stroke count
  EXPECT_TRUE(strokesOf(data).empty());
  EXPECT_TRUE(strokesOf(std::string("\1\0", 2)).empty());  // not even a stroke count

  std::vector<route> strokes(2);
  readStrokeFrame("no_such_frame.rt", strokes);
  EXPECT_EQ(strokes.size(), 2u);
}

TEST(strokeFrames, pickingByTimeStopsAtTheLastFrame) {
  EXPECT_EQ(strokeFrameIndex(0.0), 0);
  EXPECT_EQ(strokeFrameIndex(87.9), 1580);
  EXPECT_EQ(strokeFrameIndex(500.0), 1580);
  std::vector<std::string> list = {"a", "b", "c"};
  EXPECT_EQ(strokeFrameName(list, 4), "b");
  EXPECT_EQ(strokeFrameName({}, 4), "");
}
