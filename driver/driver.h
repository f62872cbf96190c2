// driver.h -- the production's time: start-up and the per-frame driver.
// Demo time follows the music's playback position; every frame the sections
// are asked to draw in chain order and the current one draws.
#pragma once
#include "driver/framestate.h"

class rendercontext;

constexpr double DemoEnd = 455.5;  // demo time at which the production ends

extern rendercontext rcontext;  // the one shared GPU object
extern double demoTime;         // production time, seconds
extern double frameStep;        // step of the current frame, handed to every section by pointer
extern double lastClock;        // the clock reading the next step is measured from
extern double musicTime;        // music position of the channel, seconds
extern bool musicSync;          // demo time is pulled towards the music until the track's last 5 s
extern FrameState frameState;   // the record handed to the sections

void startDemo();   // runs inside window creation with the context current
bool drawFrame();   // one frame; always true
void cameraEye(float& x, float& y, float& z);  // the shared camera's eye, for the debug text

// The pieces of drawFrame, in its order (tests drive them one by one).
double measureStep();                 // clock difference; negative gives 0
double followMusic(double step);      // reseeds, reads the music, corrects the step
void prepareRecord();                 // clears pointer fields and keys, copies the key table
void clampFrameRate(double step);     // sleeps when the clamp is on
void runChain();                      // the sections in order until one hands over
void endOfProduction();               // at 455.5 s, or once the Escape fade completes

// Exits the process (code 0) after closing the audio and the window. Tests
// replace it to watch the end without ending.
extern void (*endProcess)(int code);

// Scene jump: section `part` starts with its clock at t; the demo time and
// the music follow the timeline to that moment.
void jumpToSection(int part, double t);
