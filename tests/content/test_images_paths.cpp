// The baked images, shake track and camera route, read back with the
// program's own JPEG decoder and route readers; and every recipe baked alone
// writes the bytes of the whole bake.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "gfx/jpegdecode.h"
#include "scenes/route.h"
#include "tests/support/testfiles.h"

namespace {

const std::string Data = std::string(OBELISK_DATA_DIR) + "/";

struct decoded {
  std::vector<unsigned char> px;  // RGBX rows, bottom-up
  int width = 0, height = 0;
  int green(int x, int y) const { return px[(size_t(y) * size_t(width) + size_t(x)) * 4 + 1]; }
  double mean(int c) const {
    double s = 0;
    for (size_t i = size_t(c); i < px.size(); i += 4) s += px[i];
    return s / (double(width) * height);
  }
};

decoded load(const std::string& name, int width, int height) {
  decoded d;
  EXPECT_TRUE(decodeJpgFile(Data + name, d.px, d.width, d.height)) << name;
  EXPECT_EQ(d.width, width) << name;
  EXPECT_EQ(d.height, height) << name;
  if (d.width != width || d.height != height) d.px.assign(size_t(width) * height * 4, 0);
  d.width = width, d.height = height;
  return d;
}

// Light on black: dark corners, something bright.
void expectLightOnBlack(const decoded& d, const std::string& name) {
  for (int x : {0, d.width - 1})
    for (int y : {0, d.height - 1}) EXPECT_LT(d.green(x, y), 16) << name;
  int brightest = 0;
  for (size_t i = 1; i < d.px.size(); i += 4) brightest = std::max(brightest, int(d.px[i]));
  EXPECT_GT(brightest, 200) << name;
}

}  // namespace

TEST(bakedImages, decodeToTheirSizesLightOnBlack) {
  struct { const char* name; int w, h; } all[] = {
      {"textures/theloader.jpg", 512, 512}, {"textures/blob41b.jpg", 256, 256}, {"textures/Intro1a.jpg", 1280, 720},
      {"textures/Intro2a.jpg", 1280, 720}, {"textures/obelisk_logo2.jpg", 512, 512}, {"textures/tex1.jpg", 512, 256}};
  for (auto e : all) expectLightOnBlack(load(e.name, e.w, e.h), e.name);
  decoded cloud = load("textures/cloudt1.jpg", 512, 512);
  EXPECT_GT(cloud.mean(0), 60.0);
  EXPECT_LT(cloud.mean(0), 200.0);
}

// Neighbouring frames differ, and the cycle closes: the last frame leads
// back to the first as smoothly as any other pair.
TEST(bakedImages, doveFramesBeatTheirWings) {
  std::vector<decoded> frames;
  for (int k = 0; k < 18; ++k) {
    char name[64];
    std::snprintf(name, sizeof name, "textures/dove//Dove_frame_%03d.jpg", k);
    frames.push_back(load(name, 256, 256));
    expectLightOnBlack(frames.back(), name);
    double cover = frames.back().mean(1) / 255;  // green is the alpha
    EXPECT_TRUE(cover > 0.04 && cover < 0.4) << name << ": " << cover;
  }
  double largest = 0;
  for (int k = 0; k < 18; ++k) {
    double s = 0;
    for (size_t i = 1; i < frames[k].px.size(); i += 4) s += std::abs(int(frames[k].px[i]) - int(frames[(k + 1) % 18].px[i]));
    s /= 256.0 * 256;
    if (k == 17) {
      EXPECT_LE(s, largest * 1.2);
    } else {
      EXPECT_GT(s, 1.0) << k;
      largest = std::max(largest, s);
    }
  }
}

TEST(bakedPaths, shakeTrackWobblesAndTheCameraRouteIsShort) {
  route shake, cam;
  readShakeTrack(shake, (Data + "try1.sav").c_str());
  ASSERT_GE(shake.points.size(), 6000u);
  ASSERT_EQ(shake.valuesA.size(), shake.points.size());
  double xTop = 0, yTop = 0, aTop = 0, step = 0;
  for (size_t i = 0; i < shake.points.size(); ++i) {
    xTop = std::max(xTop, double(std::fabs(shake.points[i].x)));
    yTop = std::max(yTop, double(std::fabs(shake.points[i].y)));
    aTop = std::max(aTop, std::fabs(shake.valuesA[i]));
    if (i) step = std::max(step, double(std::fabs(shake.points[i].x - shake.points[i - 1].x)));
  }
  EXPECT_TRUE(xTop > 30 && xTop < 130 && yTop < 130) << xTop << " " << yTop;
  EXPECT_TRUE(aTop > 100 && aTop < 330) << aTop;
  EXPECT_LT(step, 10.0);  // a wobble, not noise
  readTextRoute(cam, (Data + "Part_mantis//camroutes.rt").c_str());
  EXPECT_TRUE(cam.count >= 12 && cam.count <= 100) << cam.count;
}

// The recipes run side by side on a pool of threads: one baked alone must
// give the bytes it gave among the others.
TEST(bake, aRecipeAloneWritesWhatTheWholeBakeWrote) {
  scratchDir folder;
  for (const char* name : {"textures/Intro1a.jpg", "textures/dove//Dove_frame_007.jpg", "textures//velocity.dat",
                           "try1.sav", "Routes//prs_0900.rt", "newobjects//baby.obj", "newobjects//tree.obj",
                           "newneomeshes//avatar_female_walk.bvh", "newneomeshes//human4.obj",
                           "music//Nauvo and Kestrel - driftwork.mp3"}) {
    std::string cmd = std::string("'") + OBELISK_CONTENT_EXE + "' " + folder.path("") + " --only '" + name + "' > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << name;
    std::string again = readFile(folder.path(name));
    EXPECT_FALSE(again.empty()) << name;
    EXPECT_TRUE(again == readFile(Data + name)) << name;
  }
}
