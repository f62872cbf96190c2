// state.h -- the driver's own record, private to driver/ (and its tests):
// made by start-up, read and written by every frame and the transport.
#pragma once
#include <cstdint>

#include "driver/driver.h"
#include "gfx/rendercontext.h"
#include "scenes/sections.h"

class part_loader;
class scene;

// A fresh record is a production that has not started.
struct demoState {
  demoSettings settings;            // as given to startDemo
  rendercontext rcontext;           // the one shared GPU object
  double demoTime = 0.0;            // production time, seconds
  double frameStep = 0.0;           // step of the current frame, handed to every section by pointer
  double lastClock = 0.0;           // the clock reading the next step is measured from
  double musicTime = 0.0;           // music position of the channel, seconds
  bool musicSync = true;            // demo time is pulled towards the music until the track's last 5 s
  // The music clock can stop while playing (the device went away): once its
  // position has stood still for MusicStillLimit of the frame clock, demo
  // time runs on the frame clock alone until the position moves again.
  uint32_t musicPosition = 0;       // the last position read, samples
  double musicMovedAt = 0.0;        // frame clock when it last changed
  bool musicLost = false;

  // The authoring transport (transport.cpp).
  bool paused = false;              // demo time and every clock stand still; frames still draw
  int loopPart = -1;                // the section that loops, or -1
  FrameState frameState;            // the record handed to the sections
  scene* sections[MaxSections] = {};  // by part number; SectionCount of them
  part_loader* loaderSection = nullptr;  // the loading screen
  demoEnding ending = demoEnding::playing;
  bool audioOpen = false;           // the audio output was opened and is not closed yet

  // The key table (by virtual-key code) and the closing fade: keyDown, keyUp
  // and beginClosingFade write them, the frames read them.
  bool keys[256] = {};
  bool finishing = false;           // the closing fade has begun
  double finishTime = 0.0;          // demo time when finishing became true
};
extern demoState demo;

// The pieces of drawFrame, in its order (tests drive them one by one).
double measureStep();                 // clock difference; negative gives 0
double followMusic(double step);      // reseeds, reads the music, corrects the step
void watchMusicClock(uint32_t position);  // notes a still position; logs a loss once
void prepareRecord();                 // clears pointer fields and keys, copies the key table
unsigned clampFrameRate(double step); // sleeps when the clamp is on; the milliseconds slept
bool endOfProduction();               // true at 455.5 s, or once the Escape fade completes

// The transport's share of a frame: the overlay over it and a loop's wrap
// (transport.cpp).
void afterChain(int partBefore);
