// Routes from damaged files: shake tracks with numbers that are no motion,
// text routes with a byte-order mark, lone CR line ends or a cut-off end,
// stroke frames cut anywhere, and random bytes for all three readers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/crandom.h"
#include "scenes/route.h"
#include "tests/support/testfiles.h"

namespace {

std::string randomBytes(uint32_t seed, size_t n) {
  cSrand(seed);
  std::string out(n, '\0');
  for (char& c : out) c = char(cRand() & 0xFF);
  return out;
}

bool finite(const vec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// Every point and value of the track is a finite number.
void expectFiniteTrack(const route& r) {
  for (const vec3& p : r.points) ASSERT_TRUE(finite(p));
  for (double v : r.valuesA) ASSERT_TRUE(std::isfinite(v));
  for (double v : r.valuesB) ASSERT_TRUE(std::isfinite(v));
}

// n records of a gentle circle, as the file holds them: float x, y, z;
// double A, B, packed.
std::string shakeBytes(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) {
    float xyz[3] = {float(std::cos(i * 0.1)), float(std::sin(i * 0.1)), 0.5f};
    double ab[2] = {0.01 * i, -0.02 * i};
    out.append(reinterpret_cast<const char*>(xyz), sizeof xyz);
    out.append(reinterpret_cast<const char*>(ab), sizeof ab);
  }
  return out;
}

route shakeFrom(const std::string& bytes) {
  scratchDir dir;
  route r;
  readShakeTrack(r, dir.write("try1.sav", bytes).c_str());
  return r;
}

route textRouteFrom(const std::string& text) {
  scratchDir dir;
  route r;
  readTextRoute(r, dir.write("route.rt", text).c_str());
  return r;
}

std::vector<route> strokesFrom(const std::string& bytes) {
  scratchDir dir;
  std::vector<route> strokes;
  readStrokeFrame(dir.write("prs_0000.rt", bytes).c_str(), strokes);
  return strokes;
}

}  // namespace

// A record with a number that is not finite, or absurdly large, ends the
// track: the records before it are kept and smoothed, nothing after it.
TEST(shakeTrackDamaged, aRecordThatIsNoMotionEndsTheTrack) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  struct patch {
    size_t offset;  // within the record: x 0, y 4, z 8, A 12, B 20
    double value;
  } patches[] = {{0, nan}, {4, inf}, {8, -1e30}, {12, nan}, {20, -inf}, {12, 1e300}};
  for (const patch& p : patches) {
    SCOPED_TRACE(p.offset);
    std::string bytes = shakeBytes(120);
    size_t at = 70 * 28 + p.offset;
    if (p.offset < 12) {
      float f = float(p.value);
      std::memcpy(&bytes[at], &f, sizeof f);
    } else {
      std::memcpy(&bytes[at], &p.value, sizeof p.value);
    }
    route r = shakeFrom(bytes);
    EXPECT_EQ(r.points.size(), 70u);
    EXPECT_EQ(r.valuesA.size(), 70u);
    EXPECT_EQ(r.count, 70);
    expectFiniteTrack(r);
  }
  // Damage in the first record leaves an empty track, which gives no shake.
  std::string bytes = shakeBytes(40);
  std::memset(&bytes[0], 0xFF, 4);  // a NaN x
  route r = shakeFrom(bytes);
  EXPECT_TRUE(r.points.empty());
  EXPECT_EQ(shakeIndex(r, 17.0), -1);
}

TEST(shakeTrackDamaged, randomBytesAndACutOffRecord) {
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    route r = shakeFrom(randomBytes(seed, 28 * 300));
    expectFiniteTrack(r);
    EXPECT_EQ(r.points.size(), r.valuesA.size());
  }
  route cut = shakeFrom(shakeBytes(50).substr(0, 28 * 49 + 13));  // the last record is cut short
  EXPECT_EQ(cut.points.size(), 49u);
  expectFiniteTrack(cut);
}

TEST(textRouteDamaged, byteOrderMarkAndLoneCrChangeNothing) {
  const std::string text = "3\n0.5 1 -2\n3 4 5\n6e-1 7 8\n";
  route plain = textRouteFrom(text);
  ASSERT_EQ(plain.points.size(), 3u);
  std::string crOnly = text;
  for (char& c : crOnly)
    if (c == '\n') c = '\r';
  for (const std::string& damaged : {"\xEF\xBB\xBF" + text, crOnly, "\xEF\xBB\xBF" + crlf(text)}) {
    route r = textRouteFrom(damaged);
    ASSERT_EQ(r.points.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(r.points[i].x, plain.points[i].x);
      EXPECT_EQ(r.points[i].y, plain.points[i].y);
      EXPECT_EQ(r.points[i].z, plain.points[i].z);
    }
  }
}

// Only whole triples count; a count past the data, or past any integer,
// stops at the data.
TEST(textRouteDamaged, cutOffCopiesKeepTheirWholeTriples) {
  EXPECT_EQ(textRouteFrom("4\n1 2 3\n4 5 6\n7 8").count, 2);
  EXPECT_EQ(textRouteFrom("99999999999999999999\n1 2 3\n").count, 1);
  EXPECT_EQ(textRouteFrom("-3\n1 2 3\n").count, 0);
  EXPECT_EQ(textRouteFrom(std::string("2\n1 2 3\0 4 5 6\n", 15)).count, 1);  // reading stops at a NUL
  EXPECT_TRUE(textRouteFrom("").points.empty());
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    route r = textRouteFrom(std::to_string(seed) + "\n" + randomBytes(seed, 600));
    EXPECT_EQ(size_t(r.count), r.points.size());
  }
}

// The scanner takes "inf" and "nan" as numbers; such points make the arc
// length NaN, and the curve turns a NaN parameter into an end point instead
// of converting it to an integer (the sanitizer build checks that).
TEST(textRouteDamaged, infinitePointsDoNotBreakTheCurve) {
  route r = textRouteFrom("5\n0 0 0\n1 0 0\ninf 0 0\n3 0 0\n4 nan 0\n");
  ASSERT_EQ(r.count, 5);
  route resampled = r;
  resample(resampled, 20, 3);
  EXPECT_EQ(resampled.points.size(), 20u);
  route line = textRouteFrom("4\n0 0 0\n1 0 0\n2 0 0\n3 0 0\n");
  vec3 p;
  evaluate(line, std::nanf(""), p);
  EXPECT_EQ(p.x, 0.0f);
  evaluate(line, 1e30f, p);
  EXPECT_EQ(p.x, 3.0f);
  line.closed = true;
  evaluate(line, -1e30f, p);
  EXPECT_EQ(p.x, 0.0f);
}

// Every cut of a frame file keeps a prefix of its strokes, each stroke whole.
TEST(strokeFramesDamaged, everyCutKeepsWholeStrokes) {
  std::string frame;
  auto put32 = [&frame](int32_t v) {
    for (int k = 0; k < 4; ++k) frame += char((uint32_t(v) >> (8 * k)) & 0xFF);
  };
  put32(3);
  for (int n : {5, 1, 8}) {
    put32(n);
    for (int i = 0; i < n * 6; ++i) frame += char(i * 37);
  }
  std::vector<size_t> sizes;
  for (const route& s : strokesFrom(frame)) sizes.push_back(s.points.size());
  ASSERT_EQ(sizes, (std::vector<size_t>{5, 1, 8}));
  size_t kept = 0;
  for (size_t n = 0; n <= frame.size(); ++n) {
    std::vector<route> strokes = strokesFrom(frame.substr(0, n));
    ASSERT_GE(strokes.size(), kept) << n;  // never fewer than a shorter cut
    kept = strokes.size();
    for (size_t s = 0; s < strokes.size(); ++s) ASSERT_EQ(strokes[s].points.size(), sizes[s]) << n;
  }
  for (uint32_t seed = 1; seed <= 30; ++seed)
    for (const route& s : strokesFrom(randomBytes(seed, 900))) {
      ASSERT_EQ(size_t(s.count), s.points.size());
      for (const vec3& p : s.points) ASSERT_TRUE(finite(p) && std::fabs(p.x) < 2.2f && std::fabs(p.y) < 2.2f);
    }
}
