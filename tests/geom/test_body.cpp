// Posing the figure (no GL), and the movable box.
#include <gtest/gtest.h>

#include "geom/body.h"
#include "geom/objloader.h"
#include "tests/support/testfiles.h"

namespace {

// hip > abdomen > chest > {neck, lCollar, rCollar} > end sites: 21 values a frame.
std::unique_ptr<body> figure(int frames) {
  std::string site = "End Site\n{\nOFFSET 0 1 0\n}\n", rot = "CHANNELS 3 Zrotation Xrotation Yrotation\n";
  std::ostringstream s;
  s << "HIERARCHY\nROOT hip\n{\nOFFSET 0 0 0\n"
    << "CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
    << "JOINT abdomen\n{\nOFFSET 0 2 0\n" << rot << "JOINT chest\n{\nOFFSET 0 3 0\n" << rot
    << "JOINT neck\n{\nOFFSET 0 1 0\n" << rot << site << "}\n"
    << "JOINT lCollar\n{\nOFFSET 1 0 0\n" << rot << site << "}\n"
    << "JOINT rCollar\n{\nOFFSET -1 0 0\n" << rot << site << "}\n}\n}\n}\n"
    << "MOTION\nFrames: " << frames << "\nFrame Time: 0.04\n";
  for (int k = 1; k <= frames; ++k) {
    s << k << " " << 2 * k << " 0 " << 5 * k << " " << 3 * k << " " << k;
    for (int j = 0; j < 5; ++j) s << " " << 7 * k + j << " " << -2 * k << " " << 4 * k;
    s << "\n";
  }
  // parsed, not loaded: a file without frames is a motion file the loader refuses
  logCapture quiet;
  auto parsed = std::make_unique<skeleton>();
  parsed->parseText(s.str());
  return std::make_unique<body>(std::move(parsed));
}

struct bone {
  std::string from;
  mat4 m;
};

std::vector<bone> posed(body& b) {
  std::vector<bone> out;
  b.pose([](body&, const joint& from, const mat4& m, void* user) {
    static_cast<std::vector<bone>*>(user)->push_back({from.name, m});
  }, &out);
  return out;
}

void expectNear(const mat4& a, const mat4& b) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a.m[i], b.m[i], 1e-4) << "element " << i;
}

}  // namespace

// Position p blends entry (p mod (n-1)) + 1 with the next one, wrapping
// from n-1 back to 1; entry k holds frame k, whose hip moves to (k, 2k, 0).
TEST(body, blendsTwoFramesByTheFractionalPosition) {
  auto b = figure(14);  // 15 root entries: the loop is entries 1..14
  auto at = [&](float p) {
    b->framePosition = p;
    return posed(*b);
  };
  auto translation = [](const bone& x) { return std::vector<float>(x.m.m + 12, x.m.m + 15); };
  std::vector<bone> one = at(1.0f), fifteen = at(15.0f);
  EXPECT_EQ(translation(one[0]), (std::vector<float>{2, 4, 0}));
  EXPECT_EQ(translation(at(13.5f)[0]), (std::vector<float>{7.5f, 15, 0}));  // half way from entry 14 to entry 1
  ASSERT_EQ(fifteen.size(), 8u);
  for (size_t i = 0; i < 8; ++i) expectNear(fifteen[i].m, one[i].m);
}

// Every joint with children is posed once; each of its bones is handed
// over, so the chest's limb comes three times. End sites are not posed.
// The root's list is cut by ten entries per posed joint down to 15; the
// other joints keep all their frames.
TEST(body, walksBonesDepthFirstAndTrimsTheRootToFifteenEntries) {
  auto b = figure(40);
  joint* root = b->skeleton->root;
  ASSERT_EQ(root->frames.size(), 41u);
  std::vector<std::string> from;
  for (const bone& x : posed(*b)) from.push_back(x.from);
  EXPECT_EQ(from, (std::vector<std::string>{"hip", "abdomen", "chest", "neck", "chest", "lCollar", "chest",
                                            "rCollar"}));
  ASSERT_EQ(b->matrixStack.size(), 1u);
  expectNear(b->matrixStack.front(), mat4());
  EXPECT_EQ(root->frames.size(), 15u);
  EXPECT_EQ(root->children[0]->frames.size(), 41u);
  b->framePosition = 13.0f;
  posed(*b);
  EXPECT_EQ(root->frames.size(), 15u);
}

// Without a complete motion frame the figure stands in its rest pose;
// advancing loops over entries 1 ... n - 1.
TEST(body, restPoseWithoutMotionAndAdvanceLoops) {
  auto b = figure(0);
  joint* hip = b->skeleton->root;
  std::vector<bone> bones = posed(*b);
  ASSERT_EQ(bones.size(), 8u);
  expectNear(bones[1].m, hip->frames[0] * hip->children[0]->frames[0]);
  b->advance();
  EXPECT_EQ(b->framePosition, 1.0f);
  b = figure(14);
  b->advance();
  EXPECT_EQ(b->framePosition, 2.0f);
  b->framePosition = 14.0f;
  b->advance();
  EXPECT_EQ(b->framePosition, 1.0f);
}

// The box leaves out the first vertex; fewer than two leave it unchanged.
TEST(movable, boundsOverVerticesAfterTheFirst) {
  objloader l("Other/obj/torso.obj");
  l.centre = vec3(9, 9, 9);
  l.vertices = {vec3(5, 5, 5)};
  l.computeBounds();
  EXPECT_EQ(l.centre.x, 9.0f);
  l.vertices = {vec3(100, 100, 100), vec3(0, 0, 0), vec3(2, 4, 6)};
  l.computeBounds();
  EXPECT_EQ(l.centre.y, 2.0f);
  EXPECT_EQ(l.halfSize.z, 3.0f);
  EXPECT_EQ(l.localCorners[1].z, 6.0f);
  EXPECT_EQ(l.localCorners[1].x, 0.0f);
  EXPECT_EQ(l.localCorners[6].y, 4.0f);
}
