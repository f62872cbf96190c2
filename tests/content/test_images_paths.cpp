// The baked images, velocity volume, shake track, camera route and stroke
// frames, read back with the program's own JPEG decoder and route readers;
// and every recipe baked alone writes the bytes of the whole bake.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
  auto change = [&](const decoded& a, const decoded& b) {
    double s = 0;
    for (size_t i = 1; i < a.px.size(); i += 4) s += std::abs(int(a.px[i]) - int(b.px[i]));
    return s / (256.0 * 256);
  };
  double largest = 0;
  for (int k = 0; k < 17; ++k) {
    EXPECT_GT(change(frames[k], frames[k + 1]), 1.0) << k;
    largest = std::max(largest, change(frames[k], frames[k + 1]));
  }
  EXPECT_LE(change(frames[17], frames[0]), largest * 1.2);
}

TEST(bakedVolume, curlNoiseOfUnitSize) {
  std::string bytes = readFile(Data + "textures//velocity.dat");
  ASSERT_EQ(bytes.size(), size_t(128) * 256 * 128 * 3 * 4);
  const float* v = reinterpret_cast<const float*>(bytes.data());
  auto at = [&](int x, int y, int z, int c) { return double(v[((size_t(z) * 256 + size_t(y)) * 128 + size_t(x)) * 3 + size_t(c)]); };
  double magnitude = 0, divergence = 0, gradient = 0;
  int n = 0;
  for (int z = 5; z < 123; z += 13)
    for (int y = 7; y < 249; y += 17)
      for (int x = 3; x < 125; x += 11, ++n) {
        magnitude += std::sqrt(at(x, y, z, 0) * at(x, y, z, 0) + at(x, y, z, 1) * at(x, y, z, 1) + at(x, y, z, 2) * at(x, y, z, 2));
        divergence += std::fabs(at(x + 1, y, z, 0) - at(x - 1, y, z, 0) + at(x, y + 1, z, 1) - at(x, y - 1, z, 1) +
                                at(x, y, z + 1, 2) - at(x, y, z - 1, 2));
        gradient += std::fabs(at(x + 1, y, z, 0) - at(x - 1, y, z, 0));
      }
  EXPECT_GT(magnitude / n, 0.6);
  EXPECT_LT(magnitude / n, 1.5);
  EXPECT_LT(divergence, 0.05 * gradient);  // divergence-free up to the finite difference
  EXPECT_GT(gradient / n, 0.005);          // yet not constant
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

TEST(bakedPaths, strokeFramesGrowIntoTheDrawing) {
  std::vector<std::string> names;
  std::string pattern = Data + "Routes//prs_*.rt", prefix = Data + "Routes//";
  listStrokeFrames(names, pattern.c_str(), prefix.c_str(), true);
  ASSERT_EQ(names.size(), 1581u);
  EXPECT_EQ(names[1580], prefix + "prs_1580.rt");
  size_t previous = 0;
  for (int k = 0; k <= 1580; k += (k < 1560 ? 20 : 1)) {
    std::vector<route> strokes;
    readStrokeFrame(names[size_t(k)].c_str(), strokes);
    ASSERT_FALSE(strokes.empty()) << k;  // the placeholder at least
    if (k == 0) {
      EXPECT_EQ(strokes.size(), 1u);  // nothing drawn yet at t = 0
    }
    EXPECT_GE(strokes.size(), previous) << k;
    previous = strokes.size();
    for (const route& s : strokes) {
      EXPECT_GE(s.points.size(), 16u) << k;
      for (const vec3& p : s.points)
        ASSERT_TRUE(std::fabs(p.x) <= 1.1f && std::fabs(p.y) <= 1.0f && p.z >= 0 && p.z <= 1) << k;
    }
  }
  EXPECT_GT(previous, 60u);  // the finished drawing
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
