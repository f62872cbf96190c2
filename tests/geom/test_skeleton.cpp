// skeleton_test.cpp -- the BVH loader on small hand-written files.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geom/skeleton.h"
#include "tests/support/testfiles.h"

namespace {

// hip (6 channels) > abdomen (Z X Y) > chest (X Y Z) > end site.
const std::string chain =
    "HIERARCHY\nROOT hip\n{\n\tOFFSET 0 0 0\n"
    "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
    "\tJOINT abdomen\n\t{\n\t\tOFFSET 0 2 0\n\t\tCHANNELS 3 Zrotation Xrotation Yrotation\n"
    "\t\tJOINT chest\n\t\t{\n\t\t\tOFFSET 0 3 0\n\t\t\tCHANNELS 3 Xrotation Yrotation Zrotation\n"
    "\t\t\tEnd Site\n\t\t\t{\n\t\t\t\tOFFSET 0 1 0\n\t\t\t}\n\t\t}\n\t}\n}\n"
    "MOTION\nFrames: 10\nFrame Time: 0.0333333\n";

std::unique_ptr<skeleton> loadText(const std::string& name, const std::string& text) {
  logCapture quiet;
  return std::make_unique<skeleton>(writeTestFile(name, text));
}

void expectSame(const mat4& a, const mat4& b, float tolerance = 0) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a.m[i], b.m[i], tolerance) << "element " << i;
}

}  // namespace

TEST(skeleton, treeRestPosesAndMotionJoints) {
  auto s = loadText("chain.bvh", chain + "1 2 3 0 0 0 0 0 0 0 0 0\n");
  ASSERT_NE(s->root, nullptr);
  EXPECT_EQ(s->root->name, "hip");
  ASSERT_EQ(s->motionJoints.size(), 3u);
  joint* chest = s->motionJoints[2];
  EXPECT_EQ(chest->name, "chest");
  EXPECT_EQ(chest->parent, s->motionJoints[1]);
  ASSERT_EQ(chest->children.size(), 1u);
  joint* site = chest->children[0];
  EXPECT_TRUE(site->name.empty());
  EXPECT_TRUE(site->channels.empty());
  ASSERT_EQ(site->frames.size(), 1u);  // a rest pose, but no motion
  EXPECT_EQ(site->frames[0].m[13], 1.0f);
  EXPECT_EQ(s->motionJoints[1]->frames[0].m[13], 2.0f);
  EXPECT_EQ(s->root->channels, (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(chest->channels, (std::vector<int32_t>{4, 5, 3}));
}

// N complete frames give N + 1 entries whatever "Frames:" says; an
// incomplete last frame stores nothing.
TEST(skeleton, frameCountComesFromTheValues) {
  std::string frame = "0 0 0 0 0 0 0 0 0 0 0 0\n";
  auto s = loadText("count.bvh", chain + frame + frame + frame + "1 2 3 4 5\n");
  EXPECT_EQ(s->frameCount, 4);
  for (joint* j : s->motionJoints) EXPECT_EQ(j->frames.size(), 4u) << j->name;
  EXPECT_EQ(s->valueCount, 41);
  EXPECT_FLOAT_EQ(s->frameTime, 0.0333333f);
}

TEST(skeleton, logLines) {
  std::string path = writeTestFile("log.bvh", chain + "0 0 0 0 0 0 0 0 0 0 0 0\n");
  logCapture log;
  skeleton s(path);
  EXPECT_EQ(log.text(), "File \"" + path + "\" found.\n0\nframes: 2\nframesNum = 2\nframetime = 0.0333333\n1 bodyparts\n");

  logCapture missing;
  EXPECT_THROW(skeleton("no/such.bvh"), fileNotFound);
  EXPECT_EQ(missing.text(), "File \"no/such.bvh\" not found.\n");
}

// The frame matrix is translation * Z * X * Y whatever order the channels
// come in; positions land in elements 12-14.
TEST(skeleton, frameMatrices) {
  auto s = loadText("pose.bvh", chain + "1 2 3 40 50 60 10 20 30 20 30 10\n");
  const mat4& hip = s->root->frames[1];
  EXPECT_EQ(hip.m[12], 1.0f);
  EXPECT_EQ(hip.m[13], 2.0f);
  EXPECT_EQ(hip.m[14], 3.0f);
  const mat4& abdomen = s->motionJoints[1]->frames[1];  // Z X Y = 10 20 30
  const mat4& chest = s->motionJoints[2]->frames[1];    // X Y Z = 20 30 10
  expectSame(abdomen, chest);
  EXPECT_EQ(abdomen.m[12], 0.0f);  // the offset lives in the rest pose alone

  // The composition, built independently: Z then X then Y, each turning
  // counter-clockwise by its value in degrees.
  auto turn = [](int axis, double degrees) {
    double a = degrees * 3.141593 / 180.0;
    float c = float(std::cos(a)), s = float(std::sin(a));
    mat4 r;
    int i = (axis + 1) % 3, j = (axis + 2) % 3;  // the plane the axis turns: i towards j
    r.m[i * 4 + i] = c, r.m[j * 4 + j] = c, r.m[i * 4 + j] = s, r.m[j * 4 + i] = -s;
    return r;
  };
  expectSame(abdomen, turn(2, 10) * turn(0, 20) * turn(1, 30), 1e-6f);
}

// Only JOINT names from the limb-part table get a part, matched exactly.
TEST(skeleton, limbParts) {
  auto s = loadText("parts.bvh",
                    "HIERARCHY\nROOT Chest2\n{\nOFFSET 0 0 0\nCHANNELS 0\n"
                    "JOINT Chest\n{\nOFFSET 0 0 0\n}\nJOINT Chest2\n{\nOFFSET 0 0 0\n}\n"
                    "JOINT head\n{\nOFFSET 0 0 0\n}\nJOINT Head\n{\nOFFSET 0 0 0\n}\n}\n");
  ASSERT_EQ(s->root->children.size(), 4u);
  EXPECT_EQ(s->root->part, nullptr);
  EXPECT_EQ(s->root->children[0]->part, nullptr);
  ASSERT_NE(s->root->children[1]->part, nullptr);
  EXPECT_EQ(s->root->children[1]->part->transform.m[10], 1.0f);
  EXPECT_EQ(s->root->children[1]->part->loader->fileName, "torso.obj");
  EXPECT_EQ(s->root->children[2]->part, nullptr);
  EXPECT_NE(s->root->children[3]->part, nullptr);
  EXPECT_EQ(s->frameCount, 0);  // no motion block
}

// The other common naming, CRLF line ends, tabs and a frame time with no
// leading zero.
TEST(skeleton, otherNamingWithCrlfAndTabs) {
  std::string text =
      "HIERARCHY\nROOT Hips\n{\n\tOFFSET\t0.0\t0.0\t0.0\n"
      "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Yrotation Xrotation\n"
      "\tJOINT LeftUpLeg\n\t{\n\t\tOFFSET 1.5 -2 0\n\t\tCHANNELS 3 Zrotation Yrotation Xrotation\n"
      "\t\tEnd Site\n\t\t{\n\t\t\tOFFSET 0 -4 0\n\t\t}\n\t}\n"
      "\tJOINT Spine\n\t{\n\t\tOFFSET 0 1 0\n\t\tCHANNELS 3 Zrotation Yrotation Xrotation\n"
      "\t\tEnd Site\n\t\t{\n\t\t\tOFFSET 0 1 0\n\t\t}\n\t}\n}\n"
      "MOTION\nFrames:\t2\nFrame Time:\t.0083333\n"
      "0\t90\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n5\t90\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n";
  auto s = loadText("hips.bvh", crlf(text));
  EXPECT_EQ(s->frameCount, 3);
  ASSERT_EQ(s->motionJoints.size(), 3u);
  EXPECT_EQ(s->motionJoints[1]->name, "LeftUpLeg");
  EXPECT_EQ(s->motionJoints[2]->name, "Spine");
  EXPECT_EQ(s->motionJoints[1]->offset.x, 1.5f);
  EXPECT_EQ(s->root->frames[2].m[12], 5.0f);
  EXPECT_EQ(s->root->frames[2].m[13], 90.0f);
  EXPECT_FLOAT_EQ(s->frameTime, 0.0083333f);
}

// An unknown channel name is counted, so the line still ends where it
// should; it stores no code and takes no value.
TEST(skeleton, unknownChannelNamesAreCountedButNotStored) {
  auto s = loadText("scale.bvh",
                    "HIERARCHY\nROOT hip\n{\nOFFSET 0 0 0\nCHANNELS 4 Xscale Xposition Yposition Zposition\n"
                    "JOINT abdomen\n{\nOFFSET 0 7 0\nCHANNELS 1 Zrotation\nEnd Site\n{\nOFFSET 0 1 0\n}\n}\n}\n"
                    "MOTION\nFrames: 1\nFrame Time: 0.1\n1 2 3 0\n");
  EXPECT_EQ(s->root->channels, (std::vector<int32_t>{0, 1, 2}));
  ASSERT_EQ(s->motionJoints.size(), 2u);
  EXPECT_EQ(s->motionJoints[1]->offset.y, 7.0f);
  EXPECT_EQ(s->frameCount, 2);
}

// A joint with children but no channels takes no values; it is posed at
// its rest offset every frame and the others still get their own values.
// An incomplete last frame stores nothing, not even for those joints.
TEST(skeleton, jointWithoutChannelsIsSkipped) {
  auto s = loadText("nochan.bvh",
                    "HIERARCHY\nROOT hip\n{\nOFFSET 0 0 0\nCHANNELS 0\n"
                    "JOINT abdomen\n{\nOFFSET 0 2 0\nCHANNELS 2 Xposition Yposition\n"
                    "JOINT chest\n{\nOFFSET 0 3 0\nEnd Site\n{\nOFFSET 0 1 0\n}\n}\n}\n}\n"
                    "MOTION\nFrames: 2\nFrame Time: 0.1\n4 0\n5 0\n6\n");
  EXPECT_EQ(s->frameCount, 3);
  ASSERT_EQ(s->motionJoints.size(), 3u);
  for (joint* j : s->motionJoints) EXPECT_EQ(j->frames.size(), 3u) << j->name;
  EXPECT_EQ(s->motionJoints[1]->frames[1].m[12], 4.0f);
  EXPECT_EQ(s->motionJoints[1]->frames[2].m[12], 5.0f);
  expectSame(s->motionJoints[2]->frames[2], mat4());
}
