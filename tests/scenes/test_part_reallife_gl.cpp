// The reallife section on llvmpipe, and captured frames of the whole program.
// Runs in the baked data folder.
#include <gtest/gtest.h>

#include "scenes/part_reallife.h"
#include "tests/support/scenefixture.h"

namespace {

// The dark part of a silhouette picture: how many pixels, and their rows.
struct darkRegion {
  int count = 0, top = -1, bottom = -1, left = -1, right = -1;
  double meanY = 0;
};

darkRegion darkOf(const picture& p) {
  darkRegion d;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      if (p.level(x, y) >= 128) continue;
      if (d.count == 0 || y < d.top) d.top = y;
      if (y > d.bottom) d.bottom = y;
      if (d.left < 0 || x < d.left) d.left = x;
      if (x > d.right) d.right = x;
      d.meanY += y;
      ++d.count;
    }
  if (d.count) d.meanY /= d.count;
  return d;
}

class reallifeSceneGl : public sceneGlTest<part_reallife, 2> {
protected:
  picture silhouetteAt(double t) {
    scene->setClock(t);
    glViewport(0, 0, W, H);
    scene->silhouettePass();
    return readTexture(context->textures[0], W, H);
  }
};

}  // namespace

TEST_F(reallifeSceneGl, everyProgramCompilesAndLinksAndSharesTheCurlVolume) {
  expectCleanPrograms({4, 199, 200, 201, 202, 203}, 9, {199, 200});
}

TEST_F(reallifeSceneGl, theSilhouetteIsABirdInTheMiddleThatBeatsItsWings) {
  // A beat lasts 2 pi / 5.2 s: wings high a quarter in, low three quarters in.
  const double beat = 6.2831853 / 5.2;
  picture up = silhouetteAt(10 * beat + 0.25 * beat), down = silhouetteAt(10 * beat + 0.75 * beat);
  darkRegion a = darkOf(up), b = darkOf(down);
  for (const darkRegion* d : {&a, &b}) {
    EXPECT_GT(d->count, W * H / 50);  // a bird, not a speck
    EXPECT_LT(d->count, W * H / 4);   // on white
    EXPECT_GT(d->left, W / 6);        // and away from the edges
    EXPECT_LT(d->right, W * 5 / 6);
    EXPECT_GT(d->bottom - d->top, H / 5);
  }
  EXPECT_GT(up.level(0, 0), 250);
  // Rows count from the bottom: wings high lift the dark mass.
  EXPECT_GT(a.meanY, b.meanY + 3);
}

TEST_F(reallifeSceneGl, aWholeFrameDrawsWithoutErrorsAndHandsOver) {
  long before = scene->framesDrawn;
  EXPECT_EQ(drawFrame(68.99, 0.05).partNumber, 3);
  EXPECT_EQ(scene->framesDrawn, before + 1);
  // Colour A holds the gold bird: brighter in the middle than at the sides.
  picture p = readTexture(context->textures[0], W, H);
  EXPECT_GT(p.meanLevel(60, 20, 100, 80), 2 * p.meanLevel(0, 20, 20, 80) + 5);
}

TEST_F(sceneCapture, reallifeFlightsReadAgainstTheSkyAndTheCloud) {
  picture p = capture(2, 55, 2);
  EXPECT_GT(p.meanLevel(0, 0, 640, 40), 40);  // the sky is painted: no black corners but the vignette's
  // White statues and black birds are both there in numbers.
  EXPECT_GT(p.countAbove(200, 0, 0, 640, 400), 2000);
  EXPECT_GT(640 * 400 - p.countAbove(25, 0, 0, 640, 400), 300);
}

// At 56 s: the bird's silhouette with the material program, the cloud, five
// statues unlit in white with alpha 0 and no program, eleven black birds
// with the material program (both flights after the points, so without the
// depth test), the post passes; the background program draws nothing.
TEST_F(reallifeSceneGl, everyDrawRunsUnderItsStateAt56) {
  expectDraws(56, {
      "triangles opaque depth P199 fbo",
      "compute",
      "points opaque depth P200 fbo 1-sample n2359296",
      "triangles opaque nodepth fixed c(1.00,1.00,1.00,0.00) fbo x5",
      "triangles opaque nodepth P199 fbo x11",
      "quads opaque nodepth P202 fbo",
      "quads opaque nodepth P203 fbo",
      "quads opaque nodepth P4 win",
      "quads add nodepth fixed c(1.00,1.00,1.00,1.00) win"});
}
