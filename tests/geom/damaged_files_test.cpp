// damaged_files_test.cpp -- OBJ and BVH files as editors, exporters and
// broken transfers leave them: a byte-order mark, lone CR line ends,
// many-word object names, cut-off copies and random bytes. Each reads as the
// intact file would, or as a consistent part of it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "geom/objmesh.h"
#include "geom/skeleton.h"
#include "platform/crandom.h"
#include "tests/support/testfiles.h"

namespace {

const std::string Bom = "\xEF\xBB\xBF";

std::string crOnly(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c == '\n') c = '\r';
  return out;
}

std::string randomBytes(uint32_t seed, size_t n) {
  cSrand(seed);
  std::string out(n, '\0');
  for (char& c : out) c = char(cRand() & 0xFF);
  return out;
}

objmesh parsed(const std::string& text) {
  objmesh m;
  m.parse(text);
  return m;
}

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

TEST(objmeshDamaged, byteOrderMarkIsSkipped) {
  objmesh plain = parsed(TwoParts);
  expectSameMesh(parsed(Bom + TwoParts), plain);
  // The mark in front of a first vertex line would have cost that vertex,
  // and every face that names it.
  expectSameMesh(parsed(Bom + TwoParts.substr(TwoParts.find('\n') + 1)), plain);

  scratchDir dir;
  objmesh fromFile;
  logCapture quiet;
  fromFile.load(dir.write("bom.obj", Bom + "o a\n" + TwoParts));
  EXPECT_EQ(fromFile.objectCount(), 3);
  EXPECT_EQ(fromFile.objectTriangles(1), 1);
}

TEST(objmeshDamaged, loneCrEndsLinesAsLfAndCrLfDo) {
  std::string text = "# a comment long enough to run past the next line end, as a 255-character read would\n" +
                     TwoParts + "o a name of words\nf 4 3 2\n";
  objmesh plain = parsed(text);
  EXPECT_EQ(plain.positionCount, 4);
  EXPECT_EQ(plain.objectCount(), 3);
  expectSameMesh(parsed(crOnly(text)), plain);
  expectSameMesh(parsed(crlf(text)), plain);
}

// The name is the rest of the line: its words are not faces ("foot"),
// vertices or further objects, however long the line.
TEST(objmeshDamaged, objectNamesRunToTheLineEnd) {
  std::string oneWord = "o leftfoot\n" + TwoParts.substr(TwoParts.find("v 0"));
  objmesh plain = parsed(oneWord);
  expectSameMesh(parsed("o left foot\n" + TwoParts.substr(TwoParts.find("v 0"))), plain);

  std::string wordy;
  while (wordy.size() < 600) wordy += " part v 9 9 9 f 1 2 3 o x";
  objmesh m = parsed("o" + wordy + "\n" + TwoParts);
  EXPECT_EQ(m.positionCount, 4);
  EXPECT_EQ(m.triangleCount, 2);
  EXPECT_EQ(m.objectStarts, (std::vector<int32_t>{0, 0, 1, 2}));

  // A name of one very long word, and an "o" with no name before a vertex.
  m = parsed("o " + std::string(1000, 'n') + "\rv 0 0 0\nv 1 0 0\no\nv 0 1 0\nf 1 2 3\n");
  EXPECT_EQ(m.positionCount, 3);
  EXPECT_EQ(m.objectStarts, (std::vector<int32_t>{0, 0, 1}));
}

// Every cut-off copy, and random bytes, load consistently (the sanitizer
// build checks the reads).
TEST(objmeshDamaged, truncatedCopiesAndRandomBytesStayConsistent) {
  std::string text = TwoParts + "o fan of four\nf 1/1/1 2/1/1 3/1/1 4/1/1\n";
  int whole = parsed(text).triangleCount;
  for (size_t n = 0; n <= text.size(); ++n) {
    SCOPED_TRACE(n);
    objmesh m = parsed(text.substr(0, n));
    expectConsistent(m);
    ASSERT_LE(m.triangleCount, whole);
  }
  for (uint32_t seed = 1; seed <= 20; ++seed) expectConsistent(parsed(randomBytes(seed, 2000)));
}

namespace {

// hip (3 channels) > knee (1 channel) > end site; two frames of values.
const std::string Leg =
    "HIERARCHY\nROOT hip\n{\n\tOFFSET 0 0 0\n\tCHANNELS 3 Xposition Yposition Zposition\n"
    "\tJOINT knee\n\t{\n\t\tOFFSET 0 -2 0\n\t\tCHANNELS 1 Xrotation\n"
    "\t\tEnd Site\n\t\t{\n\t\t\tOFFSET 0 -1 0\n\t\t}\n\t}\n}\n"
    "MOTION\nFrames: 2\nFrame Time: 0.04\n1 2 3 30\n4 5 6 60\n";

std::unique_ptr<skeleton> parsedSkeleton(const std::string& text, std::string* log = nullptr) {
  logCapture capture;
  auto s = std::make_unique<skeleton>();
  s->parseText(text);
  if (log) *log = capture.text();
  return s;
}

void expectSameSkeleton(const skeleton& a, const skeleton& b) {
  ASSERT_EQ(a.motionJoints.size(), b.motionJoints.size());
  EXPECT_EQ(a.frameCount, b.frameCount);
  EXPECT_EQ(a.frameTime, b.frameTime);
  for (size_t j = 0; j < a.motionJoints.size(); ++j) {
    EXPECT_EQ(a.motionJoints[j]->name, b.motionJoints[j]->name);
    ASSERT_EQ(a.motionJoints[j]->frames.size(), b.motionJoints[j]->frames.size());
    for (size_t f = 0; f < a.motionJoints[j]->frames.size(); ++f)
      EXPECT_EQ(std::memcmp(&a.motionJoints[j]->frames[f], &b.motionJoints[j]->frames[f], sizeof(mat4)), 0);
  }
}

}  // namespace

TEST(skeletonDamaged, byteOrderMarkIsSkipped) {
  std::string plainLog, bomLog;
  auto plain = parsedSkeleton(Leg, &plainLog);
  ASSERT_EQ(plain->frameCount, 3);
  auto marked = parsedSkeleton(Bom + Leg, &bomLog);
  expectSameSkeleton(*marked, *plain);
  EXPECT_EQ(bomLog, plainLog);  // "HIERARCHY" is still seen and logged

  // A file that starts at ROOT would have lost its whole skeleton.
  std::string fromRoot = Leg.substr(Leg.find("ROOT"));
  expectSameSkeleton(*parsedSkeleton(Bom + fromRoot), *parsedSkeleton(fromRoot));
  scratchDir dir;
  logCapture quiet;
  skeleton fromFile(dir.write("bom.bvh", Bom + fromRoot));
  ASSERT_NE(fromFile.root, nullptr);
  EXPECT_EQ(fromFile.root->name, "hip");
}

TEST(skeletonDamaged, loneCrEndsLines) {
  auto plain = parsedSkeleton(Leg);
  expectSameSkeleton(*parsedSkeleton(crOnly(Leg)), *plain);
  expectSameSkeleton(*parsedSkeleton(crlf(Leg)), *plain);
}

// A cut-off copy ends inside its last frame at worst: the joints before the
// cut have that frame, the ones after it do not; random bytes give whatever
// they give without harm.
TEST(skeletonDamaged, truncatedCopiesEndInsideTheirLastFrameAtWorst) {
  for (size_t n = 0; n <= Leg.size(); ++n) {
    SCOPED_TRACE(n);
    auto s = parsedSkeleton(Leg.substr(0, n));
    ASSERT_LE(s->frameCount, 3);
    for (joint* j : s->motionJoints) {
      ASSERT_LE(j->frames.size(), size_t(s->frameCount)) << j->name;
      ASSERT_GE(j->frames.size() + 1, size_t(s->frameCount)) << j->name;
    }
  }
  for (uint32_t seed = 1; seed <= 20; ++seed) parsedSkeleton(randomBytes(seed, 2000));
}
