// driver.h -- the production's time: start-up and the per-frame driver.
// Demo time follows the music's playback position; every frame the sections
// are asked to draw in chain order and the current one draws. The shell owns
// the order around it: start-up, the loop of frames, and the one shutdown.
#pragma once
#include <cstdint>

#include "gfx/rendercontext.h"
#include "scenes/section.h"
#include "scenes/sections.h"

class part_loader;
class scene;

constexpr double DemoEnd = 455.5;  // demo time at which the production ends
constexpr double MusicStillLimit = 0.5;  // seconds of a still music position before its clock counts as lost

// The settings chosen in the dialog or by options: the shell fills one,
// start-up reads it.
struct demoSettings {
  int screenWidth = 1280, screenHeight = 720;  // window size; every full-size target
  int auxWidth = 1280, auxHeight = 720;        // target 1 when not antialiased
  bool fullscreen = true;                      // the shell's: display mode change and pop-up window
  bool antialiased = true;                     // targets 0, 1 and 2 with 2 samples
  bool fpsClamp = false;                       // sleep after every frame
  bool musicEnabled = true;                    // audio and music-driven behaviour run
  bool authoring = false;                      // the transport's overlay can be shown (--author)
  bool followMusic = true;                     // demo time is pulled towards the music; offline
                                               // runs step exactly on their own silent clock
};

// How the production ended, once drawFrame has returned false.
enum class demoEnding { playing, timeUp, escape };

// The production's state: made by start-up, read and written by every frame.
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

  // The authoring transport (see transport below).
  bool paused = false;              // demo time and every clock stand still; frames still draw
  int loopPart = -1;                // the section that loops, or -1
  FrameState frameState;            // the record handed to the sections
  scene* sections[MaxSections] = {};  // by part number; SectionCount of them
  part_loader* loaderSection = nullptr;  // the loading screen
  demoEnding ending = demoEnding::playing;
  bool audioOpen = false;           // the audio output was opened and is not closed yet

  // The key table (by virtual-key code) and the closing fade: the window
  // procedure and the loop write them, the frames read them.
  bool keys[256] = {};
  bool finishing = false;           // the closing fade has begun
  double finishTime = 0.0;          // demo time when finishing became true
};
extern demoState demo;

// Start-up with the context current: targets, loading screen, every
// section's load, the music. False when the music could not start (its
// message has been shown); exitCode is then the code the process ends with.
bool startDemo(const demoSettings& settings, int& exitCode);
// One frame; false once the production has ended: demo time passed 455.5 s,
// or the closing fade after Escape is complete (see ending).
bool drawFrame();
// The driver's share of the shutdown: closes the audio when it was opened
// and deletes the start section. Safe to repeat; no GL call after it.
void stopDemo();
void cameraEye(float& x, float& y, float& z);  // the shared camera's eye, for the debug text

// The pieces of drawFrame, in its order (tests drive them one by one).
double measureStep();                 // clock difference; negative gives 0
double followMusic(double step);      // reseeds, reads the music, corrects the step
void watchMusicClock(uint32_t position);  // notes a still position; logs a loss once
void prepareRecord();                 // clears pointer fields and keys, copies the key table
void clampFrameRate(double step);     // sleeps when the clamp is on
void runChain();                      // the sections in order until one hands over
bool endOfProduction();               // true at 455.5 s, or once the Escape fade completes

// Scene jump: section `part` starts with its clock at t; the demo time and
// the music follow the timeline to that moment.
void jumpToSection(int part, double t);

// ---- authoring transport ----------------------------------------------------------
// The demo time at which section `part` starts when played (0 for the first;
// DemoEnd past the last).
double sectionStart(int part);
// Space: pause or resume; the music pauses with the picture.
void togglePause();
// Seek by `seconds` of demo time (clamped to the production).
void seekBy(double seconds);
// To the start of the section `direction` away from the current one (0: the
// current one's start).
void seekSection(int direction);
// L: the current section loops: when it would hand over, demo time goes back
// to its start. Again: no loop.
void toggleLoop();
// H: the overlay over the finished frame, or none.
void toggleOverlay();

// Seek: the production as playing at 60 frames a second would have it at
// demo time `to` (to within one frame): every section's clock and
// accumulators, the current part number, the demo time and the music
// position; the clouds are made anew, so their particles are born for
// their time.
void seekDemo(double to);
