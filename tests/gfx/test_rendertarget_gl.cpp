// Render targets, the screen quads and GL error accounting on a real
// (llvmpipe) context: what a resolve copies, the billboard's matrix, and a
// wrong call counted every time and logged once with the place it came from.
#include <GL/glew.h>

#include "gfx/gldebug.h"
#include "gfx/quads.h"
#include "gfx/rendercontext.h"
#include "tests/support/glcontext.h"
#include "tests/support/testfiles.h"

namespace {

class targetGl : public glTest {
protected:
  std::unique_ptr<rendercontext> context = std::make_unique<rendercontext>();
  void TearDown() override {
    if (!IsSkipped()) context->bindWindowFramebuffer();
  }
};

// Every pixel of the 8 x 8 texture is (r, g, b).
void expectEveryPixel(GLuint texture, unsigned char r, unsigned char g, unsigned char b) {
  std::vector<unsigned char> pixels(8 * 8 * 4), expected;
  for (int i = 0; i < 64; ++i) expected.insert(expected.end(), {r, g, b, 255});
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  EXPECT_TRUE(pixels == expected) << int(r) << " " << int(g) << " " << int(b);
}

}  // namespace

TEST_F(targetGl, aResolveCopiesOnlyTheBuffersAskedFor) {
  const GLfloat red[4] = {1, 0, 0, 1}, green[4] = {0, 1, 0, 1}, blue[4] = {0, 0, 1, 1}, quarter = 0.25f;
  for (int samples : {0, 2}) {
    SCOPED_TRACE(samples);
    context->createRenderTarget(1, 8, 8, samples);
    for (int slot : {100, 101}) context->createNoiseTexture(slot, 8, 8), context->attachColor(1, slot - 100, slot);
    context->createDepthTexture(102, 8, 8);
    context->attachDepth(1, 102);
    const GLenum both[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, both);
    glClearBufferfv(GL_COLOR, 0, green);
    glClearBufferfv(GL_COLOR, 1, green);
    context->bindRenderTarget(1, 2);
    glClearBufferfv(GL_COLOR, 0, red);
    glClearBufferfv(GL_COLOR, 1, blue);
    glClearBufferfv(GL_DEPTH, 0, &quarter);
    context->resolveRenderTarget(1, 8, 8, 1, false);
    context->bindWindowFramebuffer();
    expectEveryPixel(context->textures[100], 255, 0, 0);
    expectEveryPixel(context->textures[101], 0, 255, 0);
    context->resolveRenderTarget(1, 8, 8, 2, true);
    context->bindWindowFramebuffer();
    expectEveryPixel(context->textures[101], 0, 0, 255);
    std::vector<float> depth(64);
    glBindTexture(GL_TEXTURE_2D, context->textures[102]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    EXPECT_NEAR(depth[27], 0.25f, 1e-3);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}

class quads : public glTest {};

TEST_F(quads, billboardDropsRotationKeepsTranslation) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(1, 2, 3);
  glRotatef(30, 0, 1, 0);
  glScalef(2, 2, 2);
  double angle = 0, sx = 1, sy = 1;
  drawScreenQuad(&angle, &sx, &sy, true, 1.0f);
  float m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_EQ((std::vector<float>{m[0], m[2], m[5], m[10], m[12], m[13], m[14]}),
            (std::vector<float>{1, 0, 1, 0, 1, 2, 3}));  // z flattened
  glLoadIdentity();
}

class glDebugGl : public glTest {};

TEST_F(glDebugGl, aWrongCallIsCountedAndLoggedOnceWithItsPlace) {
  glDebugEnabled = true;
  glDebugInstall();
  glDebugSection("PART_TEST");
  glDebugPlace("points");
  logCapture log;
  long before = glDebugErrors();
  glEnable(0x1234);  // no such capability
  glEnable(0x1234);
  glDebugCheck();
  EXPECT_EQ(glDebugErrors(), before + 2);
  std::vector<std::string> lines = log.lines();
  ASSERT_GE(lines.size(), 1u);
  EXPECT_NE(lines[0].find("GL error"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("PART_TEST / points"), std::string::npos) << lines[0];
  size_t logged = 0;
  for (const std::string& l : lines) logged += l.find("GL error") != std::string::npos;
  EXPECT_EQ(logged, 1u);
  glDisable(GL_DEBUG_OUTPUT);
  glDebugEnabled = false;
}
