// The start scene on llvmpipe: its programs compile and link, the hand-over
// frame is drawn whole, and captured frames of the whole program show the
// particle obelisk and the title cards when their fade says so. Runs in the
// baked data folder.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "scenes/part_start.h"
#include "tests/support/scenefixture.h"

namespace {

// Rows holding at least three bright pixels in the middle third of the width.
int tallestMiddleExtent(const picture& p, int threshold) {
  int first = -1, last = -1;
  for (int y = 0; y < p.height; ++y)
    if (p.countAbove(threshold, p.width / 3, y, 2 * p.width / 3, y + 1) >= 3) {
      if (first < 0) first = y;
      last = y;
    }
  return first < 0 ? 0 : last - first + 1;
}

// Bright pixels in the outer thirds of the width.
int outerBright(const picture& p, int threshold) {
  return p.countAbove(threshold, 0, 0, p.width / 3, p.height) + p.countAbove(threshold, 2 * p.width / 3, 0, p.width, p.height);
}

using startSceneGl = sceneGlTest<part_start, 0>;

}  // namespace

TEST_F(startSceneGl, everyProgramCompilesAndLinksWithoutComplaint) {
  expectCleanPrograms({200, 201, 202, 203, 204}, 7, {200});
}

TEST_F(startSceneGl, theHandOverFrameIsDrawnWholeAndTheNextIsNot) {
  long before = scene->framesDrawn;
  FrameState state = drawFrame(26.99, 0.05);
  EXPECT_EQ(scene->framesDrawn, before + 1);
  EXPECT_EQ(state.partNumber, 1);
  EXPECT_TRUE(state.switched);
  // Colour A after the occlusion pass holds the obelisk: tall, in the middle;
  // the outer thirds hold only a faint haze of motes.
  picture p = readTexture(context->textures[0], W, H);
  EXPECT_GT(tallestMiddleExtent(p, 30), 35);
  EXPECT_GT(p.meanLevel(60, 0, 100, 100), 2 * p.meanLevel(0, 0, 50, 100));
  double step = 0.05;
  scene->draw(&step, context.get(), &state);
  EXPECT_EQ(scene->framesDrawn, before + 1);
}

// The shared post shaders take their sizes from the textures: a scene that
// does not send "resolution" gets the same picture as one that does.
TEST_F(startSceneGl, postPassesDoNotDependOnResolution) {
  auto frameWith = [&](bool resolution) {
    scene->post.ssaoResolution = scene->post.blurResolution = scene->post.backgroundResolution = resolution;
    drawFrame(9.0, 0.0);  // the cloud stands still: both frames see the same state
    std::vector<unsigned char> pixels(W * H * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  };
  std::vector<unsigned char> with = frameWith(true), without = frameWith(false);
  scene->post = postStyle();
  long lit = 0, differ = 0;
  for (size_t i = 0; i < with.size(); ++i) {
    lit += with[i] > 20;
    differ += std::abs(int(with[i]) - int(without[i])) > 2;
  }
  EXPECT_GT(lit, 500);
  EXPECT_EQ(differ, 0);
}

TEST_F(sceneCapture, startShowsTheObeliskAndTheTitleWhenItsFadeSaysSo) {
  for (auto c : {std::make_pair(8.0, true), std::make_pair(16.0, true), std::make_pair(25.0, false)}) {
    SCOPED_TRACE(c.first);
    picture p = capture(0, c.first, 3);
    EXPECT_GT(tallestMiddleExtent(p, 100), p.height * 35 / 100);  // the slab is 46 % of the height
    if (c.second)
      EXPECT_GT(outerBright(p, 150), 300);  // the card's letters reach into the outer thirds
    else
      EXPECT_LT(outerBright(p, 150), 30);
  }
}

// The state of every draw at 8 s: the cloud opaque with the nearest point
// winning, the title card added at its fade (ease(0.75) = 0.85), the post
// passes, the glow added in white; the background program draws nothing.
TEST_F(startSceneGl, everyDrawRunsUnderItsStateAt8) {
  expectDraws(8, {
      "compute",
      "points opaque depth P200 fbo 1-sample n2359296",
      "quads add nodepth fixed c(0.86,0.86,0.86,0.86) fbo",
      "quads opaque nodepth P202 fbo",
      "quads opaque nodepth P203 fbo",
      "quads opaque nodepth P204 win",
      "quads add nodepth fixed c(1.00,1.00,1.00,1.00) win"});
}
