// Routes: the shake track (loop closure, smoothing, damaged records), text
// routes, stroke frames (listing, damaged files), the Catmull-Rom curve and
// its resampling.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "scenes/route.h"
#include "tests/support/testfiles.h"

namespace {

// Shake records as the file holds them: float x, y, z; double A, B, packed.
struct shakeRecord {
  float x, y, z;
  double a, b;
};

std::string shakeBytes(const std::vector<shakeRecord>& recs) {
  std::string out;
  for (const shakeRecord& r : recs)
    out.append(reinterpret_cast<const char*>(&r.x), 12).append(reinterpret_cast<const char*>(&r.a), 16);
  return out;
}

route shakeFrom(const std::string& bytes) {
  route r;
  readShakeTrack(r, writeTestFile("track.sav", bytes).c_str());
  return r;
}

route textRouteFrom(const std::string& text) {
  route r;
  readTextRoute(r, writeTestFile("route.rt", text).c_str());
  return r;
}

std::vector<route> strokesFrom(const std::string& bytes) {
  std::vector<route> strokes;
  readStrokeFrame(writeTestFile("prs_0000.rt", bytes).c_str(), strokes);
  return strokes;
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

route lineRoute(int n) {
  route r;
  for (int i = 0; i < n; ++i) r.points.push_back(vec3(float(i), float(i * i) * 0.1f, 1));
  r.count = n;
  return r;
}

bool finite(const route& r) {
  for (const vec3& p : r.points)
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  for (const auto* values : {&r.valuesA, &r.valuesB})
    for (double v : *values)
      if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

// Six records close onto record zero (the loop is closed over the last
// six), five are left alone; a long track is smoothed and loops.
TEST(shakeTrack, theLoopClosesOverTheLastSixRecordsAndALongTrackIsSmooth) {
  std::vector<shakeRecord> recs;
  for (int i = 0; i < 6; ++i) recs.push_back({float(i + 1), float(2 * i), 0.5f, 10.0 * i + 3, -1.0 * i});
  route r = shakeFrom(shakeBytes(recs));
  ASSERT_FALSE(r.points.empty());
  for (const vec3& p : r.points) EXPECT_LT(length(p - vec3(1, 0, 0.5f)), 1e-6f);
  ASSERT_EQ(r.valuesA.size(), 6u);
  for (size_t i = 0; i < 6; ++i) EXPECT_TRUE(std::fabs(r.valuesA[i] - 3) < 1e-4 && std::fabs(r.valuesB[i]) < 1e-4) << i;
  recs.pop_back();
  r = shakeFrom(shakeBytes(recs));
  EXPECT_EQ((std::vector<double>{r.valuesA.at(4), r.valuesB.at(4)}), (std::vector<double>{43, -4}));
  recs.clear();
  for (int i = 0; i < 600; ++i)  // an alternating jitter of 10 the smoothing removes
    recs.push_back({float(50 * std::sin(i * 0.05)) + (i % 2 ? 5.0f : -5.0f), float(i % 7), 0, 100 * std::sin(i * 0.02), double(i % 3)});
  r = shakeFrom(shakeBytes(recs));
  ASSERT_TRUE(r.points.size() == 600u && r.valuesA.size() == 600u);
  float worstStep = 0;
  double worstA = 0;
  for (size_t i = 1; i < 600; ++i) {
    if (i < 590) worstStep = std::max(worstStep, std::fabs(r.points[i].x - r.points[i - 1].x));
    worstA = std::max(worstA, std::fabs(r.valuesA[i] - r.valuesA[i - 1]));
    EXPECT_LE(std::fabs(r.valuesA[i]), 101.0);
  }
  EXPECT_LT(worstStep, 4.0f);
  EXPECT_LT(worstA, 5.0);
}

// Fewer than two points mean no shake (no modulo by zero); a negative index
// is taken as unsigned, truncated toward zero; a missing file changes nothing.
TEST(shakeTrack, indexHandlesShortTracksAndNegativeIndices) {
  route r = lineRoute(3);
  readShakeTrack(r, "no_such_track.sav");
  EXPECT_EQ(r.points.size(), 3u);
  vec3 p(5, 5, 5);
  EXPECT_FALSE(shakePoint(route(), 12.0, p));
  EXPECT_EQ(p.x, 0.0f);
  EXPECT_EQ(shakeIndex(lineRoute(1), 3.0), -1);
  r = lineRoute(101);  // modulo 100
  EXPECT_EQ(shakeIndex(r, -10.0), 86);  // 4294967286 mod 100
  EXPECT_EQ(shakeIndex(r, -10.7), 86);
  EXPECT_EQ(shakeIndex(r, 250.9), 50);
  EXPECT_TRUE(shakePoint(r, 250.0, p));
  EXPECT_EQ(p.x, 50.0f);
}

// A record with a number that is not finite, or absurdly large, ends the
// track: the records before it are kept and smoothed, nothing after it.
// Damage in the first record leaves an empty track, which gives no shake;
// a cut-off last record is dropped; random bytes give a finite track.
TEST(shakeTrack, damagedRecordsEndTheTrack) {
  std::vector<shakeRecord> circle;
  for (int i = 0; i < 120; ++i) circle.push_back({float(std::cos(i * 0.1)), float(std::sin(i * 0.1)), 0.5f, 0.01 * i, -0.02 * i});
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  struct { size_t record, offset; double value; size_t kept; } cases[] = {  // x 0, y 4, z 8, A 12, B 20
      {70, 0, nan, 70}, {70, 4, inf, 70}, {70, 8, -1e30, 70}, {70, 12, nan, 70}, {70, 20, -inf, 70},
      {70, 12, 1e300, 70}, {12, 0, nan, 12}, {0, 0, nan, 0}};  // 12: too short to smooth, kept
  for (auto c : cases) {
    std::string bytes = shakeBytes(circle);
    float f = float(c.value);
    std::memcpy(&bytes[c.record * 28 + c.offset], c.offset < 12 ? static_cast<void*>(&f) : &c.value, c.offset < 12 ? 4 : 8);
    route r = shakeFrom(bytes);
    EXPECT_TRUE(r.points.size() == c.kept && r.valuesA.size() == c.kept && r.count == int(c.kept) && finite(r))
        << c.record << " +" << c.offset << ": " << r.points.size() << " points";
  }
  EXPECT_EQ(shakeIndex(route(), 17.0), -1);
  EXPECT_EQ(shakeFrom(shakeBytes(circle).substr(0, 28 * 49 + 13)).points.size(), 49u);
  for (unsigned seed = 1; seed <= 30; ++seed) {
    route r = shakeFrom(randomBytes(seed, 28 * 300));
    EXPECT_TRUE(finite(r) && r.points.size() == r.valuesA.size()) << seed;
  }
}

TEST(curve, evaluateHitsPointsClampsOpenEndsAndWrapsClosedOnes) {
  route r = lineRoute(6);
  auto at = [&](float u) {
    vec3 out;
    evaluate(r, u, out);
    return out;
  };
  for (int i = 0; i < 6; ++i) EXPECT_EQ(length(at(float(i)) - r.points[i]), 0.0f) << i;
  EXPECT_EQ(at(7.5f).x, 5.0f);
  EXPECT_EQ(at(-0.5f).x, 0.0f);
  EXPECT_TRUE(at(2.5f).x > 2.0f && at(2.5f).x < 3.0f);
  // a NaN parameter, or one beyond any integer, is an end point, not an integer conversion
  EXPECT_EQ(at(std::nanf("")).x, 0.0f);
  EXPECT_EQ(at(1e30f).x, 5.0f);
  r = lineRoute(5);
  r.closed = true;
  EXPECT_EQ(at(5.0f).x, r.points[0].x);
  EXPECT_NEAR(at(-1.0f).x, r.points[4].x, 1e-3);
  EXPECT_TRUE(at(4.5f).x > 0.0f && at(4.5f).x < 4.0f);  // between the last point and the first
  EXPECT_EQ(at(-1e30f).x, 0.0f);
}

TEST(curve, resampleSpacesPointsEvenlyAndLeavesShortRoutesAlone) {
  route shortOne = lineRoute(3);
  resample(shortOne, 20, 3);
  EXPECT_EQ(shortOne.points.size(), 3u);
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
  for (size_t i = 0; i < 48; ++i) {  // on the circle, a 48th of it apart
    EXPECT_NEAR(length(r.points[i]), 1.0, 0.03);
    EXPECT_NEAR(length(r.points[(i + 1) % 48] - r.points[i]), 2 * M_PI / 48, 0.008) << i;
  }
  route wild = textRouteFrom("5\n0 0 0\n1 0 0\ninf 0 0\n3 0 0\n4 nan 0\n");  // the arc length is NaN
  ASSERT_EQ(wild.count, 5);
  resample(wild, 20, 3);
  EXPECT_EQ(wild.points.size(), 20u);
}

// A byte-order mark and lone CR or CR LF line ends change nothing; only
// whole triples count, and a count past the data, or past any integer,
// stops at the data.
TEST(textRoute, readsCountedPointsFromDamagedFilesToo) {
  const std::string text = "3\n0.5 1 -2\n3 4 5\n6e-1 7 8\n";
  route r = lineRoute(9);
  r.valuesA.assign(9, 1.0);
  readTextRoute(r, writeTestFile("cam.rt", text + "99 99 99\n").c_str());
  ASSERT_EQ(r.points.size(), 3u);
  EXPECT_TRUE(r.count == 3 && r.degree == 3 && r.valuesA.empty());
  EXPECT_FLOAT_EQ(r.points[0].z, -2.0f);
  EXPECT_FLOAT_EQ(r.points[2].x, 0.6f);
  std::string crOnly = text;
  for (char& c : crOnly) c = c == '\n' ? '\r' : c;
  for (const std::string& damaged : {"\xEF\xBB\xBF" + text, crOnly, "\xEF\xBB\xBF" + crlf(text)}) {
    route d = textRouteFrom(damaged);
    ASSERT_EQ(d.points.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(length(d.points[i] - r.points[i]), 0.0f) << i;
  }
  struct { std::string text; int count; } cases[] = {
      {"4\n1 2 3\n4 5 6\n7 8", 2}, {"99999999999999999999\n1 2 3\n", 1}, {"-3\n1 2 3\n", 0},
      {std::string("2\n1 2 3\0 4 5 6\n", 15), 1}, {"", 0}};  // reading stops at a NUL
  for (const auto& c : cases) EXPECT_EQ(textRouteFrom(c.text).points.size(), size_t(c.count)) << c.text;
  for (unsigned seed = 1; seed <= 30; ++seed) {
    route d = textRouteFrom(std::to_string(seed) + "\n" + randomBytes(seed, 600));
    EXPECT_EQ(size_t(d.count), d.points.size());
  }
}

TEST(strokeFrames, listingIsSortedAndFilteredAndFramesPlayByTime) {
  scratchDir dir;
  for (const char* n : {"prs_0010.rt", "prs_0002.rt", "prs_1580.rt", "prs_0000.rt", "other.rt", "prs_0003.txt"})
    dir.write(n, "");
  std::vector<std::string> list = {"stale"};
  std::string pattern = dir.path("/prs_*.rt"), prefix = dir.path("/");
  listStrokeFrames(list, pattern.c_str(), prefix.c_str(), true);
  EXPECT_EQ(list, (std::vector<std::string>{prefix + "prs_0000.rt", prefix + "prs_0002.rt", prefix + "prs_0010.rt",
                                            prefix + "prs_1580.rt"}));
  listStrokeFrames(list, pattern.c_str(), prefix.c_str(), false);
  EXPECT_EQ(list.size(), 8u);
  listStrokeFrames(list, "no_such_folder//prs_*.rt", "x", true);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(strokeFrameIndex(0.0), 0);
  EXPECT_EQ(strokeFrameIndex(87.9), 1580);
  EXPECT_EQ(strokeFrameIndex(500.0), 1580);  // the last recorded frame
  EXPECT_EQ(strokeFrameName({"a", "b", "c"}, 4), "b");
  EXPECT_EQ(strokeFrameName({}, 4), "");
}

// Strokes are read and scaled; every cut of a frame file keeps a prefix of
// its strokes, each stroke whole; a negative count stops at the last
// complete stroke; a missing file leaves the list as it was; random bytes
// give whole, bounded strokes.
TEST(strokeFrames, readsWholeStrokesFromDamagedFilesToo) {
  std::string frame;
  put32(frame, 3);
  putStroke(frame, 16, -15000);
  putStroke(frame, 1, 0);
  putStroke(frame, 20, 100);
  std::vector<route> strokes = strokesFrom(frame);
  ASSERT_EQ(strokes.size(), 3u);
  EXPECT_EQ(strokes[2].count, 20);
  EXPECT_FLOAT_EQ(strokes[0].points[0].x, -1.0f);
  EXPECT_FLOAT_EQ(strokes[0].points[3].y, -3.0f / 15000.0f);
  EXPECT_FLOAT_EQ(strokes[2].points[5].z, 1.0f);
  size_t kept = 0;
  for (size_t n = 0; n <= frame.size(); ++n) {
    strokes = strokesFrom(frame.substr(0, n));
    ASSERT_GE(strokes.size(), kept) << n;  // never fewer than a shorter cut
    kept = strokes.size();
    for (size_t s = 0; s < strokes.size(); ++s) ASSERT_EQ(strokes[s].points.size(), size_t(s == 0 ? 16 : s == 1 ? 1 : 20)) << n;
  }
  std::string negative;
  put32(negative, 5);
  putStroke(negative, 16, 0);
  put32(negative, -4);  // a negative point count
  EXPECT_EQ(strokesFrom(negative).size(), 1u);
  negative.clear();
  put32(negative, -1);  // a negative stroke count
  EXPECT_TRUE(strokesFrom(negative).empty());
  EXPECT_TRUE(strokesFrom(std::string("\1\0", 2)).empty());  // not even a stroke count
  readStrokeFrame("no_such_frame.rt", strokes);
  EXPECT_EQ(strokes.size(), 3u);
  for (unsigned seed = 1; seed <= 30; ++seed)
    for (const route& s : strokesFrom(randomBytes(seed, 900))) {
      ASSERT_EQ(size_t(s.count), s.points.size());
      for (const vec3& p : s.points) ASSERT_TRUE(std::fabs(p.x) < 2.2f && std::fabs(p.y) < 2.2f && std::isfinite(p.z));
    }
}
