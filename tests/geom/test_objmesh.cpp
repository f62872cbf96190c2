// The OBJ loader on small hand-written files, and on files as editors,
// exporters, broken transfers and the fuzzers leave them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "geom/objmesh.h"
#include "tests/support/testfiles.h"

namespace {

objmesh parsed(const std::string& text) {
  objmesh m;
  m.parse(text);
  return m;
}

std::vector<uint32_t> tri(const objmesh& m, int t) { return {m.indices[3 * t], m.indices[3 * t + 1], m.indices[3 * t + 2]}; }
const float* pos(const objmesh& m, uint32_t v) { return m.vertices[v].f; }
const float* tex(const objmesh& m, uint32_t v) { return m.vertices[v].f + 3; }
const float* nrm(const objmesh& m, uint32_t v) { return m.vertices[v].f + 5; }

void expectSameMesh(const objmesh& a, const objmesh& b) {
  EXPECT_EQ(a.positionCount, b.positionCount);
  EXPECT_EQ(a.triangleCount, b.triangleCount);
  EXPECT_EQ(a.indices, b.indices);
  EXPECT_EQ(a.objectStarts, b.objectStarts);
  ASSERT_EQ(a.vertices.size(), b.vertices.size());
  EXPECT_EQ(std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(objvertex)), 0);
}

// Every stored index points at a vertex, object ranges are ordered and lie
// inside the triangles that were counted.
void expectConsistent(const objmesh& m) {
  ASSERT_FALSE(m.objectStarts.empty());
  ASSERT_LE(m.objectStarts.back(), m.triangleCount);
  for (size_t k = 0; k + 1 < m.objectStarts.size(); ++k) ASSERT_LE(m.objectStarts[k], m.objectStarts[k + 1]);
  for (size_t i = 0; i < size_t(m.objectStarts.back()) * 3; ++i) ASSERT_LT(m.indices[i], m.vertices.size());
}

// Two objects with a comment and a group line between them.
const std::string TwoParts =
    "# two parts\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n"
    "o left\ng skin\nf 1/1/1 2/1/1 3/1/1\no right\nf 1/1/1 3/1/1 4/1/1\n";

}  // namespace

TEST(objmesh, aMissingFileLogsAndStaysEmptyAFolderReadsAsNothing) {
  objmesh m, folder;
  logCapture log;
  m.load("no/such/file.obj");
  EXPECT_EQ(log.text(), "Obj Load: no/such/file.obj\n");
  EXPECT_FALSE(m.loaded);
  EXPECT_EQ(m.objectCount(), 0);
  folder.load(testing::TempDir());
  EXPECT_TRUE(folder.loaded);
  EXPECT_EQ(folder.objectCount(), 0);
}

TEST(objmesh, polygonsAreFansAroundTheirFirstCorner) {
  objmesh m = parsed("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\no square\nf 1 2 3 4\n");
  EXPECT_EQ(m.positionCount, 4);
  ASSERT_EQ(m.vertices.size(), 4u);  // one record per position: nothing else differs
  EXPECT_EQ(m.indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));
  EXPECT_EQ(m.objectStarts, (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(m.objectTriangles(0), 2);
  EXPECT_EQ(m.objectTriangles(1), 0);
  EXPECT_EQ(pos(m, 2)[1], 1.0f);
  objmesh penta = parsed("o p\nv 0 0 0\nv 1 0 0\nv 2 1 0\nv 1 2 0\nv 0 1 0\nf 1 2 3 4 5\n");
  EXPECT_EQ(penta.triangleCount, 3);
  EXPECT_EQ(tri(penta, 2), (std::vector<uint32_t>{0, 3, 4}));
}

TEST(objmesh, negativeIndicesCountBackFromTheLastRead) {
  objmesh m = parsed("o a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\nv 5 5 5\nv 6 5 5\nv 5 6 5\nf -3 -2 -1\n");
  ASSERT_EQ(m.triangleCount, 2);
  EXPECT_EQ(pos(m, tri(m, 0)[1])[0], 1.0f);
  EXPECT_EQ(pos(m, tri(m, 1)[0])[0], 5.0f);
  EXPECT_EQ(pos(m, tri(m, 1)[1])[0], 6.0f);
}

// v//n takes no texture coordinate and keeps file normals as read; v/t gets
// generated normals; the form is taken from each face's first corner.
TEST(objmesh, cornerForms) {
  objmesh vn = parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nv 2 2 0\n"
                      "vn 1 0 0\nvn 0 1 0\nvn 0 0 2\nvn 0 0 3\nvn 0 0 4\nvn 0 0 5\nvn 0 3 4\n"
                      "vt 0.25 0.75\no a\nf 5//7 1//1 2//2\n");
  ASSERT_EQ(vn.vertices.size(), 3u);
  const float* first = vn.vertices[tri(vn, 0)[0]].f;
  EXPECT_EQ(std::vector<float>(first, first + 8), (std::vector<float>{2, 2, 0, 0, 0, 0, 3, 4}));  // not renormalised
  objmesh vtn = parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.25\nvn 0 0 1\no a\nf 1/1/1 2/1/1 3/1/1\n");
  EXPECT_EQ(std::vector<float>(vtn.vertices[0].f + 3, vtn.vertices[0].f + 8), (std::vector<float>{0.5f, 0.25f, 0, 0, 1}));
  objmesh vt = parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.25\no a\nf 1/1 2/1 3/1\n");
  EXPECT_EQ(tex(vt, 2)[0], 0.5f);
  EXPECT_TRUE(vt.hasTexcoords && vt.hasNormals);
  objmesh mixed = parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.5\nvn 0 0 1\no a\n"
                         "f 1/1 2/1 3/1\nf 1 2 3\nf 1//1 2//1 3//1\nf 1/1/1 2/1/1 3/1/1\n");
  EXPECT_EQ(mixed.objectTriangles(0), 4);
}

TEST(objmesh, verticesAreSharedOnlyWhenEveryFloatMatches) {
  // Position 1 with two different texture coordinates: two records.
  objmesh two = parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\n"
                       "o a\nf 1/1 2/2 3/3\nf 2/2 4/4 3/3\nf 1/4 2/2 3/3\n");
  EXPECT_EQ(two.vertices.size(), 5u);
  EXPECT_NE(tri(two, 0)[0], tri(two, 2)[0]);
  EXPECT_EQ(tri(two, 0)[1], tri(two, 1)[0]);  // same position and coordinate: shared
  // 0.0 and -0.0 are different bit patterns, hence different vertices.
  objmesh zeros = parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt -0.0 0\nvn 0 0 1\n"
                         "o a\nf 1/1/1 2/1/1 3/1/1\nf 1/2/1 2/1/1 3/1/1\n");
  EXPECT_EQ(zeros.vertices.size(), 4u);
  EXPECT_TRUE(std::signbit(tex(zeros, tri(zeros, 1)[0])[0]));
}

TEST(objmesh, generatedNormalsAreAreaWeighted) {
  // A big triangle facing +z and a small one facing +x share vertex 1.
  objmesh m = parsed("v 0 0 0\nv 4 0 0\nv 0 4 0\nv 0 1 0\nv 0 0 1\no a\nf 1 2 3\nf 1 4 5\n");
  ASSERT_TRUE(m.hasNormals);
  // (0,0,16) + (1,0,0): unit length, leaning to +z by the area ratio.
  float len = std::sqrt(257.0f);
  EXPECT_NEAR(nrm(m, 0)[0], 1 / len, 1e-6);
  EXPECT_NEAR(nrm(m, 0)[2], 16 / len, 1e-6);
  EXPECT_NEAR(nrm(m, 1)[2], 1.0f, 1e-6);
  EXPECT_NEAR(nrm(m, 3)[0], 1.0f, 1e-6);
}

// Faces before the first "o" belong to no object; an empty object is kept.
// The name is the rest of the line however long: its words are not faces
// ("foot"), vertices or further objects.
TEST(objmesh, objectsFollowTheirOLines) {
  EXPECT_EQ(parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n").objectStarts, (std::vector<int32_t>{1}));
  objmesh some = parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nf 1 2 3\n"
                        "o first part\nf 1 2 3 4\no " + std::string(300, 'o') + "\no last\nf 3 2 1\n");
  EXPECT_EQ(some.objectStarts, (std::vector<int32_t>{1, 3, 3, 4}));
  EXPECT_EQ(some.objectCount(), 3);
  std::string wordy;
  while (wordy.size() < 600) wordy += " part v 9 9 9 f 1 2 3 o x";
  objmesh m = parsed("o" + wordy + "\n" + TwoParts);
  EXPECT_EQ(m.positionCount, 4);
  EXPECT_EQ(m.objectStarts, (std::vector<int32_t>{0, 0, 1, 2}));
  // A name of one very long word ended by a lone CR, and an "o" with no name.
  m = parsed("o " + std::string(1000, 'n') + "\rv 0 0 0\nv 1 0 0\no\nv 0 1 0\nf 1 2 3\n");
  EXPECT_EQ(m.positionCount, 3);
  EXPECT_EQ(m.objectStarts, (std::vector<int32_t>{0, 0, 1}));
}

// Faces that refer to nothing or have fewer than three corners are skipped whole.
TEST(objmesh, facesThatReferToNothingAreSkipped) {
  objmesh m = parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\no a\n"
                     "f 0 1 2\nf 1 2 4\nf -4 1 2\nf 1 2\nf 1/2 2/1 3/1\nf 1//2 2//1 3//1\n"
                     "f 1 2 99999999999999999999\nf x y z\nf 1 2 3\n");
  EXPECT_EQ(m.objectTriangles(0), 1);
  EXPECT_EQ(tri(m, 0), (std::vector<uint32_t>{0, 1, 2}));
}

// What exporters write around the geometry, a byte-order mark, and CR or
// CR LF line ends read as the plain file does. Every cut-off copy, random
// bytes and what the fuzzers found load consistently, without reading
// outside the arrays (the sanitizer build checks the reads).
TEST(objmesh, decoratedAndDamagedFiles) {
  auto crOnly = [](std::string s) {
    for (char& c : s) c = c == '\n' ? '\r' : c;
    return s;
  };
  const std::string plain = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\n"
                            "o box\nf 1/1/1 2/2/1 3/3/1 4/3/1\n";
  const std::string decorated =
      "# exported\nmtllib box.mtl\n  v 0 0 0\nv\t1 0 0\nv 1 1 0  \nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\n"
      "\no box\ng box_group\nusemtl red\ns off\nf 1/1/1 2/2/1 3/3/1 4/3/1   \n# end\n";
  // a comment longer than the next line, as a fixed-length line read would trip on
  const std::string wordy = "# a comment long enough to run past the next line end, as a 255-character read "
                            "would\n" + TwoParts + "o a name of words\nf 4 3 2\n";
  const std::string noComment = TwoParts.substr(TwoParts.find('\n') + 1);  // the mark before a vertex line
  struct { std::string variant, original; } same[] = {
      {decorated, plain}, {crlf(decorated), plain}, {"\xEF\xBB\xBF" + TwoParts, TwoParts},
      {"\xEF\xBB\xBF" + noComment, TwoParts}, {crOnly(wordy), wordy}, {crlf(wordy), wordy},
      {"o left foot\n" + noComment, "o leftfoot\n" + noComment}};
  for (const auto& c : same) {
    SCOPED_TRACE(c.variant);
    expectSameMesh(parsed(c.variant), parsed(c.original));
  }
  std::vector<std::string> inputs = {
      "f", "v", "v 1 2 3 f 1 1 1\n", "f 1/\nv 0 0 0\n",
      "vt 1 2 vt 3 4 vt 5 6 o x f -1/-1 -2/-2 -3/-3\nv 0 0 0\n",
      "v 0 0 0\no\nv 1 1 1\nf 1 2 -1\n",
      "vn 1e99 -1e99 nan\nv inf 0 0\nv 0 0 0\nv 0 1 0\no a\nf 1//1 2//1 3//1\n",
      "v 0 0 0 v 0 0 0 v 0 0 0\no a\nf 1 2 3 -1 -2 -3 1 2 3\n",
      "f 2147483648 -2147483649 1\n",
      "v 0 0 0\nv 0 0 0\nv 0 0 0\no a\nf 1 2 3\n",  // a degenerate triangle: zero normals
      // the face after "vt" on one line is skipped by the counting pass but read by the second one
      std::string("v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nv 1 1 1\r\nv 2 0 1\r\no pent\r\nf 1 2 5 4 3\r\nnt\r\n"
                  "f 1 1\xf3\xdf\xcd\x16\x89\xce\xfc" "0\0\0\0" "0\r\nv 11 2/2/\x05\n  1 0\nvt 0 0vn  1 2f 5 4 3\r\n",
                  0x80)};
  for (unsigned seed = 1; seed <= 20; ++seed) inputs.push_back(randomBytes(seed, 2000));
  for (const std::string& text : inputs) {
    SCOPED_TRACE(text.substr(0, 80));
    expectConsistent(parsed(text));
  }
  std::string whole = TwoParts + "o fan of four\nf 1/1/1 2/1/1 3/1/1 4/1/1\n";
  for (size_t n = 0; n <= whole.size(); ++n) {
    SCOPED_TRACE(n);
    objmesh m = parsed(whole.substr(0, n));
    expectConsistent(m);
    ASSERT_LE(m.triangleCount, 4);
  }
}
