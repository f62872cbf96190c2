// objmesh_test.cpp -- the OBJ loader on small hand-written files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "geom/objmesh.h"
#include "tests/support/testfiles.h"

namespace {

objmesh loadText(const std::string& name, const std::string& text) {
  objmesh m;
  m.load(writeTestFile(name, text));
  return m;
}

std::vector<uint32_t> tri(const objmesh& m, int t) {
  return {m.indices[3 * t], m.indices[3 * t + 1], m.indices[3 * t + 2]};
}

const float* pos(const objmesh& m, uint32_t v) { return m.vertices[v].f; }
const float* tex(const objmesh& m, uint32_t v) { return m.vertices[v].f + 3; }
const float* nrm(const objmesh& m, uint32_t v) { return m.vertices[v].f + 5; }

const char* square =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "o square\n"
    "f 1 2 3 4\n";

}  // namespace

TEST(objmesh, missingFileLogsAndStaysEmpty) {
  objmesh m;
  logCapture log;
  m.load("no/such/file.obj");
  EXPECT_EQ(log.text(), "Obj Load: no/such/file.obj\n");
  EXPECT_FALSE(m.loaded);
  EXPECT_TRUE(m.objectStarts.empty());
  EXPECT_EQ(m.objectCount(), 0);
}

TEST(objmesh, polygonsAreFansAroundTheirFirstCorner) {
  objmesh m = loadText("quad.obj", square);
  ASSERT_TRUE(m.loaded);
  EXPECT_EQ(m.positionCount, 4);
  EXPECT_EQ(m.triangleCount, 2);
  ASSERT_EQ(m.vertices.size(), 4u);  // one record per position: nothing else differs
  EXPECT_EQ(tri(m, 0), (std::vector<uint32_t>{0, 1, 2}));
  EXPECT_EQ(tri(m, 1), (std::vector<uint32_t>{0, 2, 3}));
  EXPECT_EQ(m.objectStarts, (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(m.objectCount(), 1);
  EXPECT_EQ(m.objectTriangles(0), 2);
  EXPECT_EQ(m.objectTriangles(1), 0);
  EXPECT_EQ(pos(m, 2)[0], 1.0f);
  EXPECT_EQ(pos(m, 2)[1], 1.0f);

  objmesh penta = loadText("penta.obj", "o p\nv 0 0 0\nv 1 0 0\nv 2 1 0\nv 1 2 0\nv 0 1 0\nf 1 2 3 4 5\n");
  EXPECT_EQ(penta.triangleCount, 3);
  EXPECT_EQ(tri(penta, 2), (std::vector<uint32_t>{0, 3, 4}));
}

TEST(objmesh, negativeIndicesCountBackFromTheLastRead) {
  objmesh m = loadText("neg.obj",
                       "o a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\n"
                       "v 5 5 5\nv 6 5 5\nv 5 6 5\nf -3 -2 -1\n");
  ASSERT_EQ(m.triangleCount, 2);
  EXPECT_EQ(pos(m, tri(m, 0)[0])[0], 0.0f);
  EXPECT_EQ(pos(m, tri(m, 0)[1])[0], 1.0f);
  EXPECT_EQ(pos(m, tri(m, 1)[0])[0], 5.0f);
  EXPECT_EQ(pos(m, tri(m, 1)[1])[0], 6.0f);
}

TEST(objmesh, cornerForms) {
  // v//n: no texture coordinate; file normals kept exactly as read.
  objmesh vn = loadText("vn.obj",
                        "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nv 2 2 0\n"
                        "vn 1 0 0\nvn 0 1 0\nvn 0 0 2\nvn 0 0 3\nvn 0 0 4\nvn 0 0 5\nvn 0 3 4\n"
                        "vt 0.25 0.75\no a\nf 5//7 1//1 2//2\n");
  ASSERT_EQ(vn.vertices.size(), 3u);
  uint32_t first = tri(vn, 0)[0];
  EXPECT_EQ(pos(vn, first)[0], 2.0f);
  EXPECT_EQ(tex(vn, first)[0], 0.0f);
  EXPECT_EQ(tex(vn, first)[1], 0.0f);
  EXPECT_EQ(nrm(vn, first)[1], 3.0f);  // not renormalised
  EXPECT_EQ(nrm(vn, first)[2], 4.0f);

  // v/t/n and v/t.
  objmesh vtn = loadText("vtn.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.25\nvn 0 0 1\no a\nf 1/1/1 2/1/1 3/1/1\n");
  ASSERT_EQ(vtn.triangleCount, 1);
  EXPECT_EQ(tex(vtn, 0)[0], 0.5f);
  EXPECT_EQ(tex(vtn, 0)[1], 0.25f);
  EXPECT_EQ(nrm(vtn, 0)[2], 1.0f);
  objmesh vt = loadText("vt.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.25\no a\nf 1/1 2/1 3/1\n");
  ASSERT_EQ(vt.triangleCount, 1);
  EXPECT_EQ(tex(vt, 2)[0], 0.5f);
  EXPECT_TRUE(vt.hasTexcoords);
  EXPECT_TRUE(vt.hasNormals);  // generated

  // The form is taken from each face's first corner, so it may change.
  objmesh mixed = loadText("mixed.obj",
                           "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.5\nvn 0 0 1\no a\n"
                           "f 1/1 2/1 3/1\nf 1 2 3\nf 1//1 2//1 3//1\nf 1/1/1 2/1/1 3/1/1\n");
  EXPECT_EQ(mixed.objectTriangles(0), 4);
}

TEST(objmesh, verticesAreSharedOnlyWhenEveryFloatMatches) {
  // Position 1 with two different texture coordinates: two records.
  objmesh two = loadText("share.obj",
                         "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\n"
                         "o a\nf 1/1 2/2 3/3\nf 2/2 4/4 3/3\nf 1/4 2/2 3/3\n");
  EXPECT_EQ(two.vertices.size(), 5u);
  EXPECT_NE(tri(two, 0)[0], tri(two, 2)[0]);
  EXPECT_EQ(tri(two, 0)[1], tri(two, 1)[0]);  // same position and coordinate: shared

  // 0.0 and -0.0 are different bit patterns, hence different vertices.
  objmesh zeros = loadText("zeros.obj",
                           "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt -0.0 0\nvn 0 0 1\n"
                           "o a\nf 1/1/1 2/1/1 3/1/1\nf 1/2/1 2/1/1 3/1/1\n");
  EXPECT_EQ(zeros.vertices.size(), 4u);
  EXPECT_NE(tri(zeros, 0)[0], tri(zeros, 1)[0]);
  EXPECT_TRUE(std::signbit(tex(zeros, tri(zeros, 1)[0])[0]));
}

TEST(objmesh, generatedNormalsAreAreaWeighted) {
  // A big triangle facing +z and a small one facing +x share vertex 1.
  objmesh m = loadText("normals.obj",
                       "v 0 0 0\nv 4 0 0\nv 0 4 0\nv 0 1 0\nv 0 0 1\n"
                       "o a\nf 1 2 3\nf 1 4 5\n");
  ASSERT_TRUE(m.hasNormals);
  const float* shared = nrm(m, 0);
  // (0,0,16) + (1,0,0): unit length, leaning to +z by the area ratio.
  float len = std::sqrt(257.0f);
  EXPECT_NEAR(shared[0], 1 / len, 1e-6);
  EXPECT_NEAR(shared[2], 16 / len, 1e-6);
  EXPECT_NEAR(nrm(m, 1)[2], 1.0f, 1e-6);
  EXPECT_NEAR(nrm(m, 3)[0], 1.0f, 1e-6);
}

TEST(objmesh, objectsFollowTheirOLines) {
  objmesh none = loadText("noo.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  EXPECT_EQ(none.objectStarts, (std::vector<int32_t>{1}));
  EXPECT_EQ(none.objectCount(), 0);

  // Faces before the first "o" belong to no object; an empty object is kept;
  // the name is the rest of the line, however long (not a 255-character
  // line skip).
  objmesh some = loadText("objects.obj",
                          "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nf 1 2 3\n"
                          "o first part\nf 1 2 3 4\no " + std::string(300, 'o') + "\no last\nf 3 2 1\n");
  EXPECT_EQ(some.objectStarts, (std::vector<int32_t>{1, 3, 3, 4}));
  EXPECT_EQ(some.objectCount(), 3);
  EXPECT_EQ(some.objectTriangles(0), 2);
  EXPECT_EQ(some.objectTriangles(1), 0);
  EXPECT_EQ(some.objectTriangles(2), 1);
}

// What common exporters write around the geometry changes nothing.
TEST(objmesh, exporterLinesAndLineEndsChangeNothing) {
  std::string plain =
      "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\n"
      "o box\nf 1/1/1 2/2/1 3/3/1 4/3/1\n";
  std::string decorated =
      "# exported\nmtllib box.mtl\n  v 0 0 0\nv\t1 0 0\nv 1 1 0  \nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\n"
      "\no box\ng box_group\nusemtl red\ns off\nf 1/1/1 2/2/1 3/3/1 4/3/1   \n# end\n";
  objmesh a = loadText("plain.obj", plain);
  for (const std::string& text : {decorated, crlf(decorated)}) {
    objmesh b = loadText("decorated.obj", text);
    EXPECT_EQ(b.indices, a.indices);
    EXPECT_EQ(b.objectStarts, a.objectStarts);
    ASSERT_EQ(b.vertices.size(), a.vertices.size());
    EXPECT_EQ(std::memcmp(b.vertices.data(), a.vertices.data(), a.vertices.size() * sizeof(objvertex)), 0);
  }
}

// Faces that refer to nothing or have fewer than three corners are skipped
// whole; the loader stays inside its arrays (the sanitizers check that).
TEST(objmesh, facesThatReferToNothingAreSkipped) {
  objmesh m = loadText("bad.obj",
                       "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\no a\n"
                       "f 0 1 2\nf 1 2 4\nf -4 1 2\nf 1 2\nf 1/2 2/1 3/1\nf 1//2 2//1 3//1\n"
                       "f 1 2 99999999999999999999\nf x y z\nf 1 2 3\n");
  EXPECT_EQ(m.objectTriangles(0), 1);
  EXPECT_EQ(tri(m, 0), (std::vector<uint32_t>{0, 1, 2}));
}
