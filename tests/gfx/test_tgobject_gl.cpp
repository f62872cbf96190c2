// Mesh point sets uploaded on a real (llvmpipe) context: what one load
// uploads and logs, and sampling ahead on the worker.
#include <GL/glew.h>

#include "gfx/rendercontext.h"
#include "gfx/tgobject.h"
#include "tests/support/glcontext.h"
#include "tests/support/testfiles.h"

namespace {

class pointSetGl : public glTest {
protected:
  scratchDir dir;
  std::unique_ptr<rendercontext> context = std::make_unique<rendercontext>();
};

std::vector<float> texels(GLuint texture, int width, int height) {
  std::vector<float> out(size_t(width) * height * 3);
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_FLOAT, out.data());
  return out;
}

size_t progressCalls = 0;

// What one load leaves behind: its log, its progress calls, its textures.
struct loadResult {
  std::vector<std::string> lines;
  size_t progress = 0;
  GLuint positionTexture = 0, colorTexture = 0;
  std::vector<float> positions, colors;
};

// With `ready`, before each load: the worker is let run as far ahead as it
// may and the number of samplings waiting is recorded.
std::vector<loadResult> loadEach(rendercontext* context, const std::vector<pointSetRequest>& loads,
                                 std::vector<int>* ready = nullptr) {
  std::vector<loadResult> out;
  for (const pointSetRequest& q : loads) {
    if (ready) ready->push_back(pointSetsSettle());
    TGObject mesh;
    mesh.context = context;
    progressCalls = 0;
    logCapture log;
    mesh.load(q);
    out.push_back({log.lines(), progressCalls, mesh.positionTexture, mesh.colorTexture,
                   texels(mesh.positionTexture, q.width, q.height), texels(mesh.colorTexture, q.width, q.height)});
  }
  return out;
}

// A strip of n triangles.
std::string strip(int n) {
  std::string text;
  for (int i = 0; i < n + 2; i++)
    text += "v " + std::to_string(i) + " " + std::to_string(i % 2) + " " + std::to_string(i % 3) + "\n";
  for (int i = 1; i <= n; i++)
    text += "f " + std::to_string(i) + "// " + std::to_string(i + 1) + "// " + std::to_string(i + 2) + "//\n";
  return text;
}

}  // namespace

// The samples go up as half floats, the CPU copies and polygons are
// dropped; a mesh that gives the particles nowhere to go is worth a warning.
TEST_F(pointSetGl, aLoadUploadsItsSamplesOrWarnsThatThereAreNone) {
  std::string file = dir.write("tri.obj", "v 1 1 1\nv 3 1 1\nv 1 3 1\nf 1// 2// 3//\n");
  std::string none = dir.write("none.obj", "v 0 0 0\nv 1 0 0\n");
  TGObject mesh, empty;
  logCapture log, err(std::cerr);
  mesh.load(file, 4, 4, 2, 4, 1, 1, 1);  // 2 rings x 3 edges x 2 points
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"TGObject loading: " + file, "TGObject Maxcounter: 12/ 16"}));
  EXPECT_EQ(err.text(), "");
  EXPECT_TRUE(mesh.polygonCount() == 0 && mesh.positions.empty() && mesh.colors.empty());
  glBindTexture(GL_TEXTURE_2D, mesh.positionTexture);
  GLint format = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
  EXPECT_EQ(format, GL_RGB16F);
  std::vector<float> got = texels(mesh.positionTexture, 4, 4);  // corner 1 and half way along edge 0, scaled by 0.75
  EXPECT_EQ((std::vector<float>{got[0], got[3], got[4], got[47]}), (std::vector<float>{0.75f, 1.5f, 0.75f, 0}));
  empty.load(none, 4, 4, 2, 4, 1, 1, 1);
  EXPECT_EQ(err.text(), "obelisk: warning: point set \"" + none + "\" yields no points\n");
  GLuint textures[4] = {mesh.positionTexture, mesh.colorTexture, empty.positionTexture, empty.colorTexture};
  glDeleteTextures(4, textures);
}

// The start-up samples on a worker thread ahead of the loads; what the loads
// log, report and upload is what they would have made one after another.
// A repeated load shares the first one's textures; loads that were listed
// but never come, or come without being listed, change nothing.
TEST_F(pointSetGl, samplingAheadGivesWhatTheLoadsMakeThemselves) {
  pointSetRequest a{dir.write("a.obj", strip(31)), 16, 16, 3, 4, 1, 0.5f, 0.25f};
  pointSetRequest b{dir.write("b.obj", strip(40)), 32, 8, 2, 6, 0.5f, 1, 1};
  pointSetRequest never{dir.write("c.obj", strip(3)), 8, 8, 2, 2, 1, 1, 1};
  pointSetRequest unlisted{a.fileName, 16, 16, 5, 4, 1, 1, 1};
  std::vector<pointSetRequest> loads{a, b, a, unlisted};
  context->progress = [](double) { ++progressCalls; };
  std::vector<loadResult> alone = loadEach(context.get(), loads);
  pointSetsBegin({a, never, b, a});
  std::vector<int> ready;
  std::vector<loadResult> ahead = loadEach(context.get(), loads, &ready);
  pointSetsEnd();
  // Two at a time: a and the one never loaded, then that one and b (a is
  // not sampled twice), then nothing.
  EXPECT_EQ(ready, (std::vector<int>{2, 2, 0, 0}));
  ASSERT_EQ(ahead.size(), alone.size());
  EXPECT_EQ(alone[0].progress, 3u);  // every 15 polygons
  EXPECT_EQ(alone[1].progress, 3u);
  for (size_t i = 0; i < loads.size(); i++) {
    EXPECT_EQ(ahead[i].lines, alone[i].lines) << "load " << i;
    EXPECT_EQ(ahead[i].progress, alone[i].progress) << "load " << i;
    EXPECT_TRUE(ahead[i].positions == alone[i].positions && ahead[i].colors == alone[i].colors) << "load " << i;
  }
  EXPECT_NE(alone[2].positionTexture, alone[0].positionTexture);
  EXPECT_TRUE(ahead[2].positionTexture == ahead[0].positionTexture && ahead[2].colorTexture == ahead[0].colorTexture);
  EXPECT_NE(ahead[3].positionTexture, ahead[0].positionTexture);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
