// standin.cpp -- the cleared frame of scenes still to come.
#include "scenes/standin.h"

#include <GL/glew.h>

#include "gfx/rendercontext.h"

void drawClearedFrame(rendercontext* rc) {
  rc->bindWindowFramebuffer();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
