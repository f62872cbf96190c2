// scene.cpp -- the parts every scene section shares.
#include "scenes/scene.h"

#include <GL/glew.h>

#include <iostream>

#include "gfx/rendercontext.h"

void scene::copyIn(rendercontext* context, FrameState* state) {
  if (context) context->frame = state;
  frame = *state;
}

void scene::writeBack(FrameState* state) {
  frame.values[0] = t;
  *state = frame;
}

void loadStandIn(scene* s, rendercontext* context, const char* banner, double clockStart) {
  s->loaded = true;
  std::cout << "\n\n================= " << banner << " ============== " << std::endl;
  s->rc = context;
  s->t = clockStart;
}

void drawClearedFrame(rendercontext* rc) {
  rc->bindWindowFramebuffer();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
