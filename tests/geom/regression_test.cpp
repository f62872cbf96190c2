// regression_test.cpp -- hostile and truncated inputs, among them what the
// fuzzers found. Each must load without crashing, hanging or reading
// outside the arrays (the sanitizer build checks the last).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geom/body.h"
#include "geom/objmesh.h"
#include "tests/support/testfiles.h"

namespace {

// Every triangle index points at a vertex and every object range lies
// inside the triangles.
void expectConsistent(const objmesh& m) {
  for (size_t i = 0; i < size_t(m.objectStarts.empty() ? 0 : m.objectStarts.back()) * 3; ++i)
    ASSERT_LT(m.indices[i], m.vertices.size());
  for (size_t k = 0; k + 1 < m.objectStarts.size(); ++k) ASSERT_LE(m.objectStarts[k], m.objectStarts[k + 1]);
  if (!m.objectStarts.empty()) {
    ASSERT_LE(m.objectStarts.back(), m.triangleCount);
  }
}

// Loads the text as a motion file and poses a figure from it at a few
// positions, as the city scene would.
void loadAndPose(const std::string& text) {
  logCapture quiet;
  body b(std::make_unique<skeleton>(writeTestFile("hostile.bvh", text)));
  for (float p : {1.0f, 2.5f, -3.25f, 1e30f, 14.999f}) {
    b.framePosition = p;
    b.pose(nullptr, nullptr);
    ASSERT_EQ(b.matrixStack.size(), 1u);
  }
}

}  // namespace

TEST(objmeshRegression, hostileFiles) {
  const std::vector<std::string> inputs = {
      "f",                                   // a face keyword at the end
      "v",                                   // a position with no numbers
      "v 1 2 3 f 1 1 1\n",                   // a face after a position on one line
      "f 1/\nv 0 0 0\n",                     // a corner that parses in no form
      "vt 1 2 vt 3 4 vt 5 6 o x f -1/-1 -2/-2 -3/-3\nv 0 0 0\n",
      "v 0 0 0\no\nv 1 1 1\nf 1 2 -1\n",     // an "o" with no name
      "vn 1e99 -1e99 nan\nv inf 0 0\nv 0 0 0\nv 0 1 0\no a\nf 1//1 2//1 3//1\n",
      "v 0 0 0 v 0 0 0 v 0 0 0\no a\nf 1 2 3 -1 -2 -3 1 2 3\n",
      "f 2147483648 -2147483649 1\n",
      "v 0 0 0\nv 0 0 0\nv 0 0 0\no a\nf 1 2 3\n",  // a degenerate triangle: zero normals
      // Found by the fuzzer: the face after "vt" on one line is skipped by
      // the counting pass but read by the second one.
      std::string("v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nv 1 1 1\r\nv 2 0 1\r\no pent\r\nf 1 2 5 4 3\r\nnt\r\n"
                  "f 1 1\xf3\xdf\xcd\x16\x89\xce\xfc" "0\0\0\0" "0\r\nv 11 2/2/\x05\n  1 0\nvt 0 0vn  1 2f 5 4 3\r\n",
                  0x80),
  };
  for (const std::string& text : inputs) {
    SCOPED_TRACE(text);
    objmesh m;
    logCapture quiet;
    m.load(writeTestFile("hostile.obj", text));
    expectConsistent(m);
  }
}

TEST(skeletonRegression, hostileFiles) {
  const std::vector<std::string> inputs = {
      "",
      "JOINT a { OFFSET 1 2 3 CHANNELS 3 Xrotation Yrotation Zrotation } } } Time: 1 2 3",
      "} } End Site OFFSET CHANNELS",
      "ROOT r { CHANNELS -5 Xrotation JOINT a { End Site { } } } MOTION Frames: -1 Frame Time: 0.1 1 2 3",
      "ROOT r { CHANNELS 2147483647 Xrotation JOINT a { CHANNELS 1 Xrotation End Site { } } } Time: 0 1 2 3",
      "ROOT r { JOINT a { End Site { } } } Time: 0 1 2 3 4",                      // no channels anywhere
      "ROOT r { CHANNELS 1 Xrotation JOINT a { End Site { } } } Time: 0 1 Time: 0 2 ROOT s Time: 3",
      "ROOT r { CHANNELS 1 Xposition JOINT a { CHANNELS 1 Yposition End Site { } } } Time: 0 1e39 nan inf",
      "ROOT r { CHANNELS 1 Xrotation JOINT a { End Site { } } } Time: 0 1 2 JOINT b { End Site { } } 3 4",
      "ROOT r { CHANNELS 1 Xrotation JOINT a { CHANNELS 1 Xrotation End Site { } } } Time: 0 1 2 3 4 5",
  };
  for (const std::string& text : inputs) {
    SCOPED_TRACE(text);
    loadAndPose(text);
  }
}

// A folder opens but reads as nothing.
TEST(loaderRegression, folderInsteadOfFile) {
  logCapture quiet;
  objmesh m;
  m.load(testing::TempDir());
  skeleton s(testing::TempDir());
  EXPECT_TRUE(m.loaded);
  EXPECT_EQ(m.objectCount(), 0);
  EXPECT_EQ(s.root, nullptr);
  EXPECT_EQ(s.frameCount, 0);
}

// A chain deeper than any call stack would take.
TEST(skeletonRegression, deepNesting) {
  std::string text = "ROOT r\n";
  for (int i = 0; i < 200000; ++i) text += "JOINT j CHANNELS 1 Xrotation ";
  text += "End Site Time: 0.1 ";
  for (int i = 0; i < 200000; ++i) text += "1 ";
  loadAndPose(text);
}
