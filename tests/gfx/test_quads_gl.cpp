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
  EXPECT_FLOAT_EQ(m[0], 1);
  EXPECT_FLOAT_EQ(m[2], 0);
  EXPECT_FLOAT_EQ(m[5], 1);
  EXPECT_FLOAT_EQ(m[10], 0);  // z flattened
  EXPECT_FLOAT_EQ(m[12], 1);
  EXPECT_FLOAT_EQ(m[13], 2);
  EXPECT_FLOAT_EQ(m[14], 3);
  glLoadIdentity();
}

TEST_F(quads, negativeScaleMirrorsTheTexture) {
  // a 2 x 1 texture: red on the left, blue on the right
  const unsigned char texels[] = {255, 0, 0, 255, 0, 0, 255, 255};
  GLuint tex;
  glGenTextures(1, &tex);
  glBindTexture(GL_TEXTURE_2D, tex);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  // draw off-screen: a hidden window's pixels need not exist
  GLuint fbo, target;
  glGenTextures(1, &target);
  glBindTexture(GL_TEXTURE_2D, target);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glGenFramebuffers(1, &fbo);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target, 0);
  ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
  glViewport(0, 0, 64, 64);
  glBindTexture(GL_TEXTURE_2D, tex);
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
    bool mirrored = sx < 0;
    EXPECT_EQ(left[0], mirrored ? 0 : 255) << "sx " << sx;
    EXPECT_EQ(left[2], mirrored ? 255 : 0) << "sx " << sx;
    EXPECT_EQ(right[0], mirrored ? 255 : 0) << "sx " << sx;
  }
  glDisable(GL_TEXTURE_2D);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDeleteFramebuffers(1, &fbo);
  glDeleteTextures(1, &target);
  glDeleteTextures(1, &tex);
  glLoadIdentity();
}
