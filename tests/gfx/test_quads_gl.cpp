// The screen quads, read back from the GL matrix and the framebuffer.
#include <GL/glew.h>

#include "gfx/quads.h"
#include "tests/support/glcontext.h"

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

TEST_F(quads, negativeScaleMirrorsTheTexture) {
  GLuint textures[2], fbo;
  glGenTextures(2, textures);
  const unsigned char texels[] = {255, 0, 0, 255, 0, 0, 255, 255};  // 2 x 1: red on the left, blue on the right
  glBindTexture(GL_TEXTURE_2D, textures[0]);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, textures[1]);  // drawn off-screen: a hidden window's pixels need not exist
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glGenFramebuffers(1, &fbo);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, textures[1], 0);
  ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
  glViewport(0, 0, 64, 64);
  glBindTexture(GL_TEXTURE_2D, textures[0]);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glColor3f(1, 1, 1);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  for (double sx : {1.0, -1.0}) {
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT);
    double angle = 0, sy = 1;
    drawScreenQuad(&angle, &sx, &sy, false, 1.0f);
    unsigned char left[4], right[4];
    glReadPixels(8, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, left);
    glReadPixels(56, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, right);
    EXPECT_EQ((std::vector<int>{left[0], left[2], right[0], right[2]}),
              sx > 0 ? (std::vector<int>{255, 0, 0, 255}) : (std::vector<int>{0, 255, 255, 0})) << "sx " << sx;
  }
  glDisable(GL_TEXTURE_2D);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDeleteFramebuffers(1, &fbo);
  glDeleteTextures(2, textures);
}
