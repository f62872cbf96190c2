// The BVH loader on small hand-written files, and on files as editors,
// broken transfers and the fuzzers leave them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "geom/body.h"
#include "geom/skeleton.h"
#include "platform/faults.h"
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

std::unique_ptr<skeleton> parsed(const std::string& text) {
  logCapture quiet;
  auto s = std::make_unique<skeleton>();
  s->parseText(text);
  return s;
}

void expectSame(const mat4& a, const mat4& b, float tolerance = 0) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a.m[i], b.m[i], tolerance) << "element " << i;
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

TEST(skeleton, treeRestPosesAndMotionJoints) {
  auto s = parsed(chain + "1 2 3 0 0 0 0 0 0 0 0 0\n");
  ASSERT_NE(s->root, nullptr);
  EXPECT_EQ(s->root->name, "hip");
  ASSERT_EQ(s->motionJoints.size(), 3u);
  joint* chest = s->motionJoints[2];
  EXPECT_EQ(chest->name, "chest");
  EXPECT_EQ(chest->parent, s->motionJoints[1]);
  ASSERT_EQ(chest->children.size(), 1u);
  joint* site = chest->children[0];
  EXPECT_TRUE(site->name.empty() && site->channels.empty());
  ASSERT_EQ(site->frames.size(), 1u);  // a rest pose, but no motion
  EXPECT_EQ(site->frames[0].m[13], 1.0f);
  EXPECT_EQ(s->motionJoints[1]->frames[0].m[13], 2.0f);
  EXPECT_EQ(s->root->channels, (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(chest->channels, (std::vector<int32_t>{4, 5, 3}));
}

// A motion file that cannot move the figure is said on standard error and
// in the log, once, with its name, and recorded for the shell (an offline
// run fails over it); a damaged one loads as nothing to pose (no NaN, no
// frozen rest pose reaches the GPU), a missing one throws as before. A
// sound file says nothing there and is logged as found.
TEST(skeleton, aFileWithoutMotionIsSaidAndRecorded) {
  const std::string frames = "0 0 0 0 0 0 0 0 0 0 0 0\n1 2 3 4 5 6 7 8 9 10 11 12\n";
  struct motionCase {
    const char* name;
    std::string text;  // the file's bytes; none for "missing"
    const char* reason;  // in the line; empty: sound
  };
  std::string nanOffset = chain;
  nanOffset.replace(nanOffset.find("OFFSET 0 2 0"), 12, "OFFSET 0 nan 0");
  const std::vector<motionCase> cases = {
      {"sound", chain + frames, ""},
      {"missing", "", "is not found"},
      {"empty", "", "no ROOT joint"},
      {"random bytes", randomBytes(3, 4000), "is damaged"},
      {"no channels", "ROOT r { JOINT a { End Site { } } } MOTION Frames: 1 Frame Time: 0.1 1 2 3", "no joint takes motion values"},
      {"hierarchy only", chain, "no complete frame of motion"},
      {"a frame cut short", chain + "1 2 3 4 5", "no complete frame of motion"},
      {"a NaN value", chain + "0 0 0 0 0 0 nan 0 0 0 0 0\n", "a number that is not finite"},
      {"a value past a float", chain + "0 0 0 0 0 0 1e39 0 0 0 0 0\n", "a number that is not finite"},
      {"a NaN offset", nanOffset + frames, "a number that is not finite"},
  };
  for (const motionCase& c : cases) {
    SCOPED_TRACE(c.name);
    scratchDir dir;
    std::string path = std::string(c.name) == "missing" ? dir.path("walk.bvh") : dir.write("walk.bvh", c.text);
    clearFaults();
    logCapture log, err(std::cerr);
    std::unique_ptr<skeleton> s;
    if (std::string(c.name) == "missing")
      EXPECT_THROW(s = std::make_unique<skeleton>(path), fileNotFound);
    else
      s = std::make_unique<skeleton>(path);
    if (!*c.reason) {
      EXPECT_EQ(err.text(), "");
      EXPECT_TRUE(recordedFaults().empty());
      EXPECT_NE(log.text().find("File \"" + path + "\" found."), std::string::npos) << log.text();
      EXPECT_EQ(s->frameCount, 3);
      continue;
    }
    std::string said = err.text();
    EXPECT_EQ(said.rfind("obelisk: the motion file \"" + path + "\" ", 0), 0u) << said;
    EXPECT_NE(said.find(c.reason), std::string::npos) << said;
    EXPECT_NE(said.find(": it has no motion; the walkers are left out\n"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(log.text().find(said), std::string::npos) << log.text();
    EXPECT_EQ(log.text().find("\" found."), std::string::npos) << log.text();
    ASSERT_EQ(recordedFaults().size(), 1u);
    EXPECT_EQ(recordedFaults()[0].kind, faultKind::playsOn);
    if (!s) continue;
    EXPECT_EQ(s->root, nullptr);
    EXPECT_TRUE(s->motionJoints.empty());
    body b(std::move(s));
    b.framePosition = 1.5f;
    b.pose(nullptr, nullptr);
    EXPECT_EQ(b.matrixStack.size(), 1u);
  }
  clearFaults();
}

// The frame matrix is translation * Z * X * Y whatever order the channels
// come in; positions land in elements 12-14.
TEST(skeleton, frameMatrices) {
  auto s = parsed(chain + "1 2 3 40 50 60 10 20 30 20 30 10\n");
  const mat4& hip = s->root->frames[1];
  EXPECT_EQ(std::vector<float>(hip.m + 12, hip.m + 15), (std::vector<float>{1, 2, 3}));
  const mat4& abdomen = s->motionJoints[1]->frames[1];  // Z X Y = 10 20 30
  expectSame(abdomen, s->motionJoints[2]->frames[1]);   // X Y Z = 20 30 10
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
  auto s = parsed("HIERARCHY\nROOT Chest2\n{\nOFFSET 0 0 0\nCHANNELS 0\n"
                  "JOINT Chest\n{\nOFFSET 0 0 0\n}\nJOINT Chest2\n{\nOFFSET 0 0 0\n}\n"
                  "JOINT head\n{\nOFFSET 0 0 0\n}\nJOINT Head\n{\nOFFSET 0 0 0\n}\n}\n");
  ASSERT_EQ(s->root->children.size(), 4u);
  EXPECT_EQ(s->root->part, nullptr);
  EXPECT_EQ(s->root->children[0]->part, nullptr);
  ASSERT_NE(s->root->children[1]->part, nullptr);
  EXPECT_EQ(s->root->children[1]->part->loader->fileName, "torso.obj");
  EXPECT_EQ(s->root->children[2]->part, nullptr);
  EXPECT_NE(s->root->children[3]->part, nullptr);
  EXPECT_EQ(s->frameCount, 0);  // no motion block
}

// An unknown channel name is counted, so the line still ends where it
// should, but stores no code and takes no value.
TEST(skeleton, unknownChannelsAreCountedButNotStored) {
  auto s = parsed("HIERARCHY\nROOT hip\n{\nOFFSET 0 0 0\nCHANNELS 4 Xscale Xposition Yposition Zposition\n"
                  "JOINT abdomen\n{\nOFFSET 0 7 0\nCHANNELS 1 Zrotation\nEnd Site\n{\nOFFSET 0 1 0\n}\n}\n}\n"
                  "MOTION\nFrames: 1\nFrame Time: .1\n1 2 3 0\n");
  EXPECT_EQ(s->root->channels, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(s->frameCount, 2);
  EXPECT_FLOAT_EQ(s->frameTime, 0.1f);  // no leading zero
}

// A joint with children but no channels takes no values; it is posed at
// its rest offset every frame and the others still get their own values.
// N complete frames give N + 1 entries whatever "Frames:" says; an
// incomplete last frame stores nothing.
TEST(skeleton, jointWithoutChannelsIsSkipped) {
  auto s = parsed("HIERARCHY\nROOT hip\n{\nOFFSET 0 0 0\nCHANNELS 0\n"
                  "JOINT abdomen\n{\nOFFSET 0 2 0\nCHANNELS 2 Xposition Yposition\n"
                  "JOINT chest\n{\nOFFSET 0 3 0\nEnd Site\n{\nOFFSET 0 1 0\n}\n}\n}\n}\n"
                  "MOTION\nFrames: 10\nFrame Time: 0.1\n4 0\n5 0\n6\n");
  EXPECT_EQ(s->frameCount, 3);
  ASSERT_EQ(s->motionJoints.size(), 3u);
  for (joint* j : s->motionJoints) EXPECT_EQ(j->frames.size(), 3u) << j->name;
  EXPECT_EQ(s->motionJoints[1]->frames[2].m[12], 5.0f);
  expectSame(s->motionJoints[2]->frames[2], mat4());
}

// A byte-order mark (also in front of ROOT, where it would have cost the
// whole skeleton), lone CR and CR LF line ends read as the plain file does.
// A cut-off copy ends inside its last frame at worst: the joints before the
// cut have that frame, the ones after it do not. Random bytes, what the
// fuzzers found, a folder and a chain deeper than any call stack load and
// pose as the city scene would, without harm.
TEST(skeleton, decoratedAndDamagedFiles) {
  const std::string leg = chain + "1 2 3 30 0 0 0 0 0 0 0 0\n4 5 6 60 0 0 0 0 0 0 0 0\n";
  const std::string fromRoot = leg.substr(leg.find("ROOT"));
  std::string crOnly = leg;
  for (char& c : crOnly) c = c == '\n' ? '\r' : c;
  auto plain = parsed(leg);
  ASSERT_EQ(plain->frameCount, 3);
  for (const std::string& variant : {"\xEF\xBB\xBF" + leg, crOnly, crlf(leg)}) expectSameSkeleton(*parsed(variant), *plain);
  expectSameSkeleton(*parsed("\xEF\xBB\xBF" + fromRoot), *parsed(fromRoot));
  for (size_t n = 0; n <= leg.size(); ++n) {
    SCOPED_TRACE(n);
    auto s = parsed(leg.substr(0, n));
    ASSERT_LE(s->frameCount, 3);
    for (joint* j : s->motionJoints) {
      ASSERT_LE(j->frames.size(), size_t(s->frameCount)) << j->name;
      ASSERT_GE(j->frames.size() + 1, size_t(s->frameCount)) << j->name;
    }
  }
  std::vector<std::string> inputs = {
      "",
      "JOINT a { OFFSET 1 2 3 CHANNELS 3 Xrotation Yrotation Zrotation } } } Time: 1 2 3",
      "} } End Site OFFSET CHANNELS",
      "ROOT r { CHANNELS -5 Xrotation JOINT a { End Site { } } } MOTION Frames: -1 Frame Time: 0.1 1 2 3",
      "ROOT r { CHANNELS 2147483647 Xrotation JOINT a { CHANNELS 1 Xrotation End Site { } } } Time: 0 1 2 3",
      "ROOT r { JOINT a { End Site { } } } Time: 0 1 2 3 4",  // no channels anywhere
      "ROOT r { CHANNELS 1 Xrotation JOINT a { End Site { } } } Time: 0 1 Time: 0 2 ROOT s Time: 3",
      "ROOT r { CHANNELS 1 Xposition JOINT a { CHANNELS 1 Yposition End Site { } } } Time: 0 1e39 nan inf",
      "ROOT r { CHANNELS 1 Xrotation JOINT a { End Site { } } } Time: 0 1 2 JOINT b { End Site { } } 3 4",
      "ROOT r { CHANNELS 1 Xrotation JOINT a { CHANNELS 1 Xrotation End Site { } } } Time: 0 1 2 3 4 5"};
  std::string deep = "ROOT r\n";
  for (int i = 0; i < 200000; ++i) deep += "JOINT j CHANNELS 1 Xrotation ";
  deep += "End Site Time: 0.1 ";
  for (int i = 0; i < 200000; ++i) deep += "1 ";
  inputs.push_back(deep);
  for (unsigned seed = 1; seed <= 20; ++seed) inputs.push_back(randomBytes(seed, 2000));
  for (const std::string& text : inputs) {
    SCOPED_TRACE(text.substr(0, 80));
    logCapture quiet, quietErrors(std::cerr);
    body b(std::make_unique<skeleton>(writeTestFile("hostile.bvh", text)));
    for (float p : {1.0f, 2.5f, -3.25f, 1e30f, 14.999f}) {
      b.framePosition = p;
      b.pose(nullptr, nullptr);
      ASSERT_EQ(b.matrixStack.size(), 1u);
    }
  }
  logCapture quiet, quietErrors(std::cerr);
  skeleton folder(testing::TempDir());
  EXPECT_EQ(folder.root, nullptr);
  EXPECT_EQ(folder.frameCount, 0);
  clearFaults();
}
