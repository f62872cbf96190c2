// standin.cpp -- see standin.h.
#include "scenes/standin.h"

#include <GL/glew.h>

#include <iostream>

#include "gfx/rendercontext.h"

void loadStandIn(scene* s, rendercontext* context) {
  s->loaded = true;
  std::cout << "\n\n================= " << s->row.banner << " ============== " << std::endl;
  s->rc = context;
  s->t = s->row.startClock;
}

void drawClearedFrame(rendercontext* rc) {
  rc->bindWindowFramebuffer();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
