// The mantis section on llvmpipe: its programs link, and one frame at a
// small size draws the stroke ribbons where the stroke points project.
// Runs in the baked data folder.
#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "scenes/part_mantis.h"
#include "tests/support/scenefixture.h"

namespace {

using mantisSceneGl = sceneGlTest<part_mantis, 4>;
const int W = mantisSceneGl::W, H = mantisSceneGl::H;

// Where a point of the drawing lands in a W x H frame seen through cam.
bool project(const camera& cam, const vec3& p, double& x, double& y) {
  GLdouble model[16], projection[16], z;
  GLint viewport[4] = {0, 0, W, H};
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(cam.fovy, 1.6, 0.1, 100.0);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  vec3 e = cam.eye + cam.lookShift;
  gluLookAt(e.x, e.y, e.z, cam.centre.x, cam.centre.y, cam.centre.z, cam.up.x, cam.up.y, cam.up.z);
  glScalef(DrawingStretch, 1, 1);
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  return gluProject(p.x, p.y, 0, model, projection, viewport, &x, &y, &z) == GL_TRUE;
}

}  // namespace

TEST_F(mantisSceneGl, everyProgramCompilesAndLinksWithoutComplaint) {
  expectCleanPrograms({198, 200, 201, 202, 203, 204}, 9, {198, 200});
  EXPECT_GT(scene->strokeFiles.size(), 1000u);
}

TEST_F(mantisSceneGl, aFrameDrawsTheRibbonsWhereTheStrokePointsProject) {
  drawFrame(40.0);
  ASSERT_EQ(scene->strokeFrame, 720);
  ASSERT_GT(scene->strokes.size(), 20u);

  picture p = readTexture(context->textures[0], W, H);  // colour A after the occlusion pass
  camera cam = scene->cam;
  int onStroke = 0, lit = 0;
  for (size_t s = 1; s < scene->strokes.size(); ++s) {
    const route& stroke = scene->strokes[s];
    if (!strokeDrawn(stroke, s)) continue;
    for (size_t i = 0; i < stroke.points.size(); i += 7) {
      double x, y;
      if (!project(cam, stroke.points[i], x, y)) continue;
      int px = int(x), py = int(y);
      if (px < 1 || py < 1 || px >= W - 1 || py >= H - 1) continue;
      ++onStroke;
      int best = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) best = std::max(best, p.level(px + dx, py + dy));
      lit += best > 50;
    }
  }
  ASSERT_GT(onStroke, 100);
  EXPECT_GT(lit, onStroke * 3 / 4) << lit << " of " << onStroke;
  // away from the lines the frame stays dark: the motes only dress it
  EXPECT_LT(p.meanLevel(0, 0, W, H), 30);
}

// At 30 s: the frame's stroke ribbons blended by alpha under the depth test,
// then the first 65 535 motes added without depth writes, the glow added
// twice and the background effect drawn.
TEST_F(mantisSceneGl, everyDrawRunsUnderItsStateAt30) {
  expectDraws(30, {
      "strip alpha depth fixed fbo x20",
      "compute",
      "points add depth-nowrite P200 fbo 1-sample n65535",
      "quads opaque nodepth P202 fbo",
      "quads opaque nodepth P203 fbo",
      "quads opaque nodepth P204 win",
      "quads add nodepth fixed c(1.00,1.00,1.00,1.00) win x2",
      "quads alpha nodepth P201 win"}, false);
}
