// The theend section on llvmpipe: its programs link, the word sits in the
// middle band at 1 s with black corners, the last frames are nearly black
// and the glow stays white meanwhile. Runs in the baked data folder.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "scenes/part_theend.h"
#include "tests/support/scenefixture.h"

using endSceneGl = sceneGlTest<part_theend, 5>;

TEST_F(endSceneGl, everyProgramCompilesAndLinksWithoutComplaint) {
  expectCleanPrograms({200, 202, 203, 204}, 6, {200});
  EXPECT_EQ(scene->shaders.programs[201], 0u);  // no background effect in this section
}

TEST_F(endSceneGl, atOneSecondTheWordFillsTheMiddleBandAndTheCornersAreBlack) {
  drawFrame(1.0);
  drawFrame(scene->t);
  picture p = readTexture(context->textures[0], W, H);  // colour A after the occlusion pass
  double band = p.meanLevel(W / 3, H * 2 / 5, W * 2 / 3, H * 3 / 5);
  // At this size the points are a pixel wide and dim; the letters still
  // stand out of the black.
  EXPECT_GT(band, 10);
  EXPECT_GT(p.countAbove(30, W / 4, H / 3, W * 3 / 4, H * 2 / 3), 150);  // the letters, spread across
  EXPECT_LT(p.countAbove(30, 0, 0, W / 4, H), 5);  // nothing beside the word
  EXPECT_LT(p.countAbove(30, W * 3 / 4, 0, W, H), 5);
  for (int x : {0, W - 20})
    for (int y : {0, H - 15}) EXPECT_LT(p.meanLevel(x, y, x + 20, y + 15), 2) << x << ", " << y;
  EXPECT_LT(p.meanLevel(0, 0, W, H / 4), band / 10);  // black above the word
}

// The glow is added at full strength to the end: the cloud it is made from
// fades by itself, so the window is black at the last frames all the same.
TEST_F(sceneCapture, endFadesToBlackInItsLastSecondWithTheGlowAtFull) {
  picture p = capture(5, 19.9, 2);
  EXPECT_LT(p.meanLevel(0, 0, 640, 400), 1.5);
  EXPECT_LT(p.countAbove(20, 0, 0, 640, 400), 40);
}

// At 10 s and half-way through the fade: the word's cloud and the post
// passes, no background program; the glow quad stays white while the cloud
// fades.
TEST_F(endSceneGl, everyDrawRunsUnderItsStateAt10AndWhileFading) {
  for (double at : {10.0, 19.5})
    expectDraws(at, {
        "compute",
        "points opaque depth P200 fbo 1-sample n2359296",
        "quads opaque nodepth P202 fbo",
        "quads opaque nodepth P203 fbo",
        "quads opaque nodepth P204 win",
        "quads add nodepth fixed c(1.00,1.00,1.00,1.00) win"});
}
