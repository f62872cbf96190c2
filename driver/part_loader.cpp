// part_loader.cpp -- the loading screen (see part_loader.h).
#include "driver/part_loader.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>

#include "driver/driver.h"
#include "gfx/quads.h"
#include "gfx/rendercontext.h"
#include "platform/platform.h"

void part_loader::load(rendercontext* rc) {
  loaded = true;
  t = 0;
  textureBase = 5000;
  rc->loadJpg("textures/theloader.jpg", textureBase + 910);
}

double part_loader::brightness(double t) {
  double a = 1.0;
  if (t < 4) a = t * 0.25;
  if (t > 43) a = 1.0 - (t - 43) * 0.175;
  return a;
}

// One quad strip around the ring's arc from radius r0 in colour c0 to r1 in c1.
static void ringStrip(double turn, double r0, double c0, double r1, double c1) {
  glBegin(GL_QUAD_STRIP);
  for (int i = 0; i < 1000; ++i) {
    double a = turn * 2.0 * M_PI * i / 1000.0;
    double s = std::sin(a), c = std::cos(a);
    glColor3d(c0, c0, c0);
    glVertex3d(r0 * s, r0 * c, 0);
    glColor3d(c1, c1, c1);
    glVertex3d(r1 * s, r1 * c, 0);
  }
  glEnd();
}

void part_loader::draw(double* step, rendercontext* rc, FrameState*) {
  glUseProgram(0);
  t += *step * 0.792;
  rc->bindWindowFramebuffer();  // a render target made last may still be bound, and is empty
  if (t < 0.2) {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return;
  }
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushMatrix();
  rc->bindWindowFramebuffer();
  glUseProgram(0);
  glActiveTexture(GL_TEXTURE0);
  glDisable(GL_TEXTURE_2D);
  glViewport(0, 0, rc->width, rc->height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(65.0, double(rc->width) / double(rc->height > 0 ? rc->height : 1), 1.0, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(0, 0, 11, 0, 0, 0, 0, 1, 0);
  glColor3f(1, 0, 0);
  glDisable(GL_CULL_FACE);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  double a = brightness(t), g = a * 0.5, turn = ringTurn(t);
  ringStrip(turn, 4.0, g, 4.3, g);      // body
  ringStrip(turn, 4.0, g, 3.975, 0.0);  // inner soft edge
  ringStrip(turn, 4.3, g, 4.325, 0.0);  // outer soft edge

  glActiveTexture(GL_TEXTURE0);
  glEnable(GL_TEXTURE_2D);
  rc->bindTexture(textureBase + 910);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glColor3d(a, a, a);
  double angle = 0, half = 3.9;
  drawScreenQuad(&angle, &half, &half, true, 1.0f);
  glDisable(GL_BLEND);
  glPopMatrix();
  glPopAttrib();
}

void (*loadingInterrupted)(int signal) = nullptr;

void showLoadingStep(part_loader& loader, rendercontext* rc, double amount) {
  // no messages are handled while loading: keep the window answering the desktop
  platformPumpEvents();
  // a stop signal ends the process here rather than after the whole load
  if (int signal = platformStopSignal(); signal && loadingInterrupted) loadingInterrupted(signal);
  double step = amount * 0.567 * 3.05;
  FrameState unread;  // the loading screen reads no record
  loader.draw(&step, rc, &unread);
  platformSwapBuffers();
}
