// Drawing meshes and the figure in a small off-screen target with identity
// matrices (positions are clip space).
#include <GL/glew.h>

#include "geom/body.h"
#include "geom/objmesh.h"
#include "tests/support/glcontext.h"
#include "tests/support/testfiles.h"

namespace {

// A quad over x0..x1 and y0..y1 at depth z, as OBJ text after `base` positions.
std::string quad(float x0, float x1, float y0, float y1, float z, int base) {
  std::ostringstream s;
  s << "v " << x0 << " " << y0 << " " << z << "\nv " << x1 << " " << y0 << " " << z << "\nv " << x1 << " " << y1
    << " " << z << "\nv " << x0 << " " << y1 << " " << z << "\nf " << base + 1 << " " << base + 2 << " "
    << base + 3 << " " << base + 4 << "\n";
  return s.str();
}

class geomDraw : public glTest {
protected:
  GLuint fbo = 0, colour = 0;
  void SetUp() override {
    glTest::SetUp();
    if (IsSkipped()) return;
    glGenFramebuffers(1, &fbo);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 16, 16);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glViewport(0, 0, 16, 16);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  void TearDown() override {
    if (!fbo) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &fbo);
    glDeleteRenderbuffers(1, &colour);
  }
  bool lit(int x, int y) {
    unsigned char p[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return p[0] > 128;
  }
  objmesh mesh(const std::string& text) {
    objmesh m;
    m.parse(text);
    return m;
  }
};

}  // namespace

// Object k alone, or all with k < 0; past the last object, without an "o"
// line or unloaded nothing is drawn; the client arrays are left disabled.
TEST_F(geomDraw, objectsAreDrawnOneAtATime) {
  objmesh m = mesh("o left\n" + quad(-1, 0, -1, 1, 0, 0) + "o right\n" + quad(0, 1, -1, 1, 0, 4));
  struct { int object; bool left, right; } cases[] = {{0, true, false}, {1, false, true}, {2, false, false}, {-1, true, true}};
  for (auto c : cases) {
    glClear(GL_COLOR_BUFFER_BIT);
    m.draw(c.object);
    EXPECT_TRUE(lit(3, 8) == c.left && lit(12, 8) == c.right) << c.object;
  }
  EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY) || glIsEnabled(GL_NORMAL_ARRAY));
  objmesh bare = mesh(quad(-1, 1, -1, 1, 0, 0));
  glClear(GL_COLOR_BUFFER_BIT);
  bare.draw(-1);
  bare.draw(0);
  objmesh().draw(-1);
  EXPECT_FALSE(lit(8, 8));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The figure draws its limbs through the limb table and leaves both matrix
// stacks as it found them: object 6 (the abdomen's limb) lands on the middle
// of the target after the limb translation, the 1.04 scale, the 44.16 scale
// and the Y mirror.
TEST_F(geomDraw, figureDrawsLimbsAndRestoresMatrices) {
  std::string limbs;
  for (int k = 0; k < 19; ++k)
    limbs += "o limb" + std::to_string(k) + "\n" + quad(-0.01f, 0.01f, k == 6 ? -0.045f : 5, k == 6 ? -0.025f : 6, 0.0288f, 4 * k);
  objmesh m = mesh(limbs);
  logCapture quiet;
  body figure(writeTestFile("limbs.bvh",
                            "HIERARCHY\nROOT hip\n{\nOFFSET 0 0 0\nCHANNELS 3 Xposition Yposition Zposition\n"
                            "JOINT abdomen\n{\nOFFSET 0 0 0\nCHANNELS 3 Zrotation Xrotation Yrotation\n"
                            "End Site\n{\nOFFSET 0 1 0\n}\n}\n}\nMOTION\nFrames: 1\nFrame Time: 0.04\n0 0 0 0 0 0\n"));
  GLint depthBefore = 0, depthAfter = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
  figure.draw(m);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
  EXPECT_EQ(depthAfter, depthBefore);
  EXPECT_EQ(figure.matrixStack.size(), 1u);
  EXPECT_TRUE(lit(8, 8));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
