// quads.cpp -- the screen-space quads (see quads.h).
#include "gfx/quads.h"

#include <GL/glew.h>
#include <cmath>

void drawScreenQuad(const double* angle, const double* sx, const double* sy, bool billboard,
                    float textureScale) {
  float a = float(*angle), x = float(*sx), y = float(*sy), ts = textureScale;
  float m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  // keep the translation column and bottom row, drop rotation and scale
  m[0] = 1; m[1] = 0; m[2] = 0;
  m[4] = 0; m[5] = 1; m[6] = 0;
  m[8] = 0; m[9] = 0; m[10] = 1;
  if (billboard) glLoadMatrixf(m);
  glRotatef(a, 0, 0, 1);
  glScalef(std::fabs(x), y, 0);
  bool mirrored = x <= 0;
  float u0 = mirrored ? ts : 0, u1 = mirrored ? 0 : ts;
  glBegin(GL_QUADS);
  glTexCoord2f(u0, 0);  glVertex3f(-1, -1, 0);
  glTexCoord2f(u1, 0);  glVertex3f(1, -1, 0);
  glTexCoord2f(u1, ts); glVertex3f(1, 1, 0);
  glTexCoord2f(u0, ts); glVertex3f(-1, 1, 0);
  glEnd();
}

void drawScaledQuad(const double* sx, const double* sy) {
  glScalef(float(*sx), float(*sy), 0);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0); glVertex3f(-1, -1, 0);
  glTexCoord2f(1, 0); glVertex3f(1, -1, 0);
  glTexCoord2f(1, 1); glVertex3f(1, 1, 0);
  glTexCoord2f(0, 1); glVertex3f(-1, 1, 0);
  glEnd();
}
