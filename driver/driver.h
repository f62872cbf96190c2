// driver.h -- the production's time, as the shell sees it: start-up, one
// frame, the keys, the closing fade, the limit, the transport and shutdown.
// Demo time follows the music's playback position; every frame the sections
// are asked to draw in chain order and the current one draws. The driver
// keeps its state to itself (state.h); the shell reads it through the const
// accessors below.
#pragma once
#include <cstdint>

#include "driver/production.h"
#include "scenes/section.h"

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

// ---- verbs ----------------------------------------------------------------------------
// Start-up with the context current: targets, loading screen, every
// section's load, the music. False when the music could not start or the
// velocity volume is damaged (its message has been shown); exitCode is then
// the code the process ends with. A track shorter than the production is
// said on standard error and in the log.
bool startDemo(const demoSettings& settings, int& exitCode);
// Called from the loading screen's steps once a stop signal has come
// (platformStopSignal): the shell ends the process there. Null: loading
// goes on.
extern void (*loadingInterrupted)(int signal);
// One frame; false once the production has ended: demo time passed 455.5 s,
// or the closing fade after Escape is complete (see productionEnding).
bool drawFrame();
// A key went down or up (virtual-key codes; codes past the table are ignored).
void keyDown(uint32_t key);
void keyUp(uint32_t key);
// Escape: the closing fade begins at the current demo time (once).
void beginClosingFade();
// The authoring value "A" and "Q" move.
void setLimit(double limit);
// The frame's size and antialiasing change: every render target and frame
// texture is made anew (the GPU check renders its comparison frames at
// another size than its benchmark). The window's own size stays.
void resizeDemo(int width, int height, bool antialiased);
// The frames' last pass draws into `framebuffer` instead of the window's (0:
// the window's again).
void renderFramesInto(unsigned framebuffer);
// The driver's share of the shutdown: closes the audio when it was opened
// and deletes the start section. Safe to repeat; no GL call after it.
void stopDemo();

// ---- what the shell reads -------------------------------------------------------------
bool keyHeld(uint32_t key);            // the key table (false past it)
double currentDemoTime();              // seconds
double lastFrameStep();                // the step of the last frame, seconds
const FrameState& frameRecord();       // the record the sections were handed
demoEnding productionEnding();         // playing until drawFrame returned false
void cameraEye(float& x, float& y, float& z);  // the shared camera's eye, for the debug text

// ---- scene jumps and the authoring transport (transport.cpp) ---------------------------
// Scene jump: section `part` starts with its clock at t; the demo time and
// the music follow the timeline to that moment.
void jumpToSection(int part, double t);
// The demo time at which section `part`'s own clock reaches t when played.
double demoTimeOf(int part, double t);
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
