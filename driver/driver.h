// driver.h -- the production's time: start-up and the per-frame driver.
#pragma once
#include "driver/framestate.h"

extern double demoTime;      // production time, seconds
extern double frameStep;     // step of the current frame, handed to every section by pointer
extern FrameState frameState;  // the record handed to the sections

void startDemo();   // runs inside window creation with the context current
bool drawFrame();   // one frame; the loop treats false like Escape
void cameraEye(float& x, float& y, float& z);  // the shared camera's eye, for the debug text
