// driver.cpp -- start-up and the frame driver.
#include "driver/driver.h"

#include <GL/glew.h>

double demoTime = 0.0;
double frameStep = 0.0;
FrameState frameState;

void startDemo() {}

bool drawFrame() {
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  return true;
}

void cameraEye(float& x, float& y, float& z) { x = y = z = 0; }
