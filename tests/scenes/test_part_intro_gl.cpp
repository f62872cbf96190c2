// The intro section on llvmpipe: its programs compile and link, a frame
// renders without GL errors and shows the cloud, and a captured frame of the
// whole program shows the logo whole in the upper right. Runs in the baked
// data folder.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "scenes/part_intro.h"
#include "tests/support/scenefixture.h"

using introSceneGl = sceneGlTest<part_intro, 1>;

TEST_F(introSceneGl, everyProgramCompilesAndLinksWithoutComplaint) {
  expectCleanPrograms({200, 113, 199, 201, 202, 203, 4}, 12, {200, 113, 199});
  // the swing swarm shares the curl volume of the start-up's simulator
  EXPECT_EQ(glStatus(scene->swingSim.program, true), GL_TRUE);
  EXPECT_EQ(scene->swingSim.curlTexture, context->sims[0].curlTexture);
}

// A jump into the swing's window: both simulators start from undefined
// storage, and their first frame already shows the cloud in the middle.
TEST_F(introSceneGl, aFrameAfterAJumpRendersWithoutErrorsAndShowsTheCloud) {
  long before = scene->framesDrawn;
  EXPECT_EQ(drawFrame(45.0, 0.03).partNumber, 1);
  EXPECT_EQ(scene->framesDrawn, before + 1);
  picture p = readTexture(context->textures[0], W, H);  // colour A after the occlusion pass
  EXPECT_GT(p.countAbove(60, 60, 20, 100, 80), 300);     // the strand in the middle
  EXPECT_LT(p.meanLevel(0, 0, 10, 10), 10.0);             // an empty corner
}

// From 164 s the intro speeds up only the sections after it: its own
// simulator steps by the frame's step, the step handed on is 1.1 times it
// (1.32 times from 168 s).
TEST_F(introSceneGl, itsSimulatorKeepsTheFrameStepInTheLastSeconds) {
  GLuint program = context->sims[sectionTable[1].simulator].program;
  for (auto c : {std::make_pair(166.0, 1.1), std::make_pair(170.0, 1.32)}) {
    scene->setClock(c.first);
    FrameState state;
    state.partNumber = 1;
    double step = 0.02;
    scene->draw(&step, context.get(), &state);
    GLfloat deltaT = 0;
    glGetUniformfv(program, glGetUniformLocation(program, "DeltaT"), &deltaT);
    EXPECT_EQ(deltaT, 0.02f) << c.first;
    EXPECT_NEAR(step, 0.02 * c.second, 1e-12) << c.first;
  }
}

TEST_F(sceneCapture, introShowsTheLogoWholeInTheUpperRightAt52) {
  picture p = capture(1, 52, 2);
  // the logo's quad: columns 454 ... 634, rows 0 ... 160 from the top; its
  // ring reaches to about row 11, so the top rows stay dark: nothing is cut
  EXPECT_GT(p.countAbove(120, 460, 10, 630, 160), 400);
  EXPECT_LT(p.countAbove(120, 460, 0, 630, 4), 20);
}

// The main cloud is stepped and drawn first, added (one, one) under the
// depth test; then the swing swarm's step and its opaque draw; the blur is
// slot 4 and the background effect is drawn over the frame. At 52 s the
// logo is added too, at its full fade, into the frame.
TEST_F(introSceneGl, everyDrawRunsUnderItsStateAt45And52) {
  for (double at : {45.0, 52.0}) {
    std::vector<std::string> rows = {
        "compute", "points add depth P200 fbo 1-sample n2359296",
        "compute", "points opaque depth P113 fbo 1-sample n262144",
        "quads opaque nodepth P202 fbo", "quads opaque nodepth P203 fbo", "quads opaque nodepth P4 win",
        "quads add nodepth fixed c(1.00,1.00,1.00,1.00) win", "quads alpha nodepth P201 win"};
    if (at == 52.0) rows.insert(rows.begin() + 4, "quads add nodepth fixed c(1.00,1.00,1.00,1.00) fbo");
    expectDraws(at, rows);
  }
}
