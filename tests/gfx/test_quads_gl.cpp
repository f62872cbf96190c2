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
