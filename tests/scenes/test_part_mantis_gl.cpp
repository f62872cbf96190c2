// The mantis section on llvmpipe: its programs link, and one frame at a
// small size draws the stroke ribbons where the stroke points project.
// Runs in the baked data folder.
#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gfx/rendercontext.h"
#include "scenes/part_mantis.h"
#include "scenes/sections.h"
#include "tests/support/glcontext.h"
#include "tests/support/scenegl.h"
#include "tests/support/testfiles.h"

namespace {

const int W = 160, H = 100;

class mantisSceneGl : public glTest {
public:
  static std::unique_ptr<rendercontext> context;
  static std::unique_ptr<part_mantis> scene;
  static std::string loadLog;

  static void SetUpTestSuite() {
    glTest::SetUpTestSuite();
    if (!haveContext || !fileExists("Routes//prs_0720.rt")) return;
    context = makeSceneContext(W, H);
    scene.reset(static_cast<part_mantis*>(createSection(4)));
    logCapture log;
    scene->load(context.get());
    loadLog = log.text();
  }
  static void TearDownTestSuite() {
    scene.reset();
    context.reset();
  }

protected:
  void SetUp() override {
    glTest::SetUp();
    if (!IsSkipped() && !scene) GTEST_SKIP() << "data folder not baked";
  }
};
std::unique_ptr<rendercontext> mantisSceneGl::context;
std::unique_ptr<part_mantis> mantisSceneGl::scene;
std::string mantisSceneGl::loadLog;

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
  gluLookAt(cam.eye.x, cam.eye.y, cam.eye.z, cam.centre.x, cam.centre.y, cam.centre.z, cam.up.x, cam.up.y,
            cam.up.z);
  glScalef(DrawingStretch, 1, 1);
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  return gluProject(p.x, p.y, 0, model, projection, viewport, &x, &y, &z) == GL_TRUE;
}

}  // namespace

TEST_F(mantisSceneGl, everyProgramCompilesAndLinksWithoutComplaint) {
  const shaderset& s = scene->shaders;
  for (int slot : {198, 200, 201, 202, 203, 204}) {
    EXPECT_EQ(glStatus(s.fragmentShaders[slot], false), GL_TRUE) << slot;
    EXPECT_EQ(glStatus(s.programs[slot], true), GL_TRUE) << slot;
  }
  EXPECT_EQ(glStatus(s.vertexShaders[200], false), GL_TRUE);
  EXPECT_EQ(glStatus(s.vertexShaders[198], false), GL_TRUE);
  EXPECT_EQ(glStatus(context->sims[4].program, true), GL_TRUE);
  EXPECT_EQ(context->sims[4].curlTexture, context->sims[0].curlTexture);
  std::vector<std::string> info = infoLinesOf(loadLog, "Part_mantis//shaders//");
  EXPECT_EQ(info.size(), 9u) << loadLog;
  for (const std::string& line : info) EXPECT_EQ(line.find("rror"), std::string::npos) << line;
  EXPECT_GT(scene->strokeFiles.size(), 1000u);
}

TEST_F(mantisSceneGl, aFrameDrawsTheRibbonsWhereTheStrokePointsProject) {
  scene->setClock(40.0);
  FrameState state;
  state.partNumber = 4;
  double step = 0.02;
  glGetError();
  scene->draw(&step, context.get(), &state);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
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
