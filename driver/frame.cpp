// frame.cpp -- the frame driver: the step from the clock, the pull towards
// the music, the record, the chain, the end of the production; and the
// verbs and accessors the shell uses between frames.
#include <iostream>

#include "driver/clock.h"
#include "driver/state.h"
#include "platform/audio.h"
#include "platform/crandom.h"
#include "platform/platform.h"
#include "scenes/chain.h"

demoState demo;

double measureStep() {
  double step = clockSeconds() - demo.lastClock;
  demo.lastClock = clockSeconds();  // the time between the two readings is not counted
  return step < 0 ? 0.0 : step;
}

double followMusic(double step) {
  if (!demo.settings.musicEnabled) return step;
  cSrand(uint32_t(int64_t(demo.demoTime * 1000000.0)));
  for (int i = 0; i < 50; ++i) cRand();
  int frequency = audioFrequency(MusicChannel);
  if (frequency <= 0) return step;
  uint32_t position = audioPosition(MusicChannel);
  demo.musicTime = double(position) / frequency;
  if (double(audioSampleLength()) / frequency - 5.0 < demo.musicTime) demo.musicSync = false;
  if (!demo.settings.followMusic) return step;
  watchMusicClock(position);
  if (demo.musicSync && !demo.musicLost) step += (demo.musicTime - demo.demoTime) * double(0.15f);
  return step;
}

// A position that stands still for longer than MusicStillLimit means the
// music stopped under us; pulling towards it would stop the picture too.
void watchMusicClock(uint32_t position) {
  double now = clockSeconds();
  if (position != demo.musicPosition) {
    if (demo.musicLost) std::cout << "music clock back at " << demo.demoTime << std::endl;
    demo.musicPosition = position;
    demo.musicMovedAt = now;
    demo.musicLost = false;
    return;
  }
  if (demo.musicLost || now - demo.musicMovedAt <= MusicStillLimit) return;
  demo.musicLost = true;
  std::cout << "music clock lost at " << demo.demoTime << std::endl;
}

void prepareRecord() {
  demo.frameState.pointerX = demo.frameState.pointerY = demo.frameState.wheel = 0;
  demo.frameState.buttonLeft = 0;
  for (int k = 0; k < 255; ++k)
    if (k != 27) demo.keys[k] = false;
  for (int k = 0; k < 256; ++k) demo.frameState.keys[k] = demo.keys[k] ? 1 : 0;
}

unsigned clampFrameRate(double step) {
  if (!demo.settings.fpsClamp) return 0;
  float s = float(31.25 - double(float(step)));
  if (s < 0) s = 0;
  if (!(s > 0.1f)) return 0;
  platformSleep(unsigned(s));
  return unsigned(s);
}

bool endOfProduction() {
  if (demo.demoTime > DemoEnd) {
    demo.ending = demoEnding::timeUp;
    return true;
  }
  if (!demo.finishing) return false;
  double f = (demo.demoTime - demo.finishTime) * 100002.5;
  f = f < 0 ? 0 : (f > 1 ? 1 : f);
  if (demo.settings.musicEnabled && demo.audioOpen) audioSetVolume(MusicChannel, int(255 - f * 255));
  if (f <= double(0.999f)) return false;
  demo.ending = demoEnding::escape;
  return true;
}

bool drawFrame() {
  double step = measureStep();
  step = followMusic(step);
  if (demo.paused) {
    step = 0.0;  // every clock stands still; the music does too, so no loss is seen
    demo.musicMovedAt = clockSeconds();
  }
  prepareRecord();
  demo.demoTime += step;
  demo.frameState.demoTime = demo.demoTime;
  clampFrameRate(step);
  demo.frameStep = step;
  int before = demo.frameState.partNumber;
  if (runChain(demo.sections, frameDepth::draw, demo.demoTime, &demo.frameStep, &demo.frameState))
    std::cout << "The time: " << demo.frameState.demoTime << " part: " << demo.frameState.partNumber << std::endl;
  afterChain(before);
  return !endOfProduction();
}

// ---- between frames ---------------------------------------------------------------------

void keyDown(uint32_t key) {
  if (key < 256) demo.keys[key] = true;
}

void keyUp(uint32_t key) {
  if (key < 256) demo.keys[key] = false;
}

void beginClosingFade() {
  if (demo.finishing) return;
  demo.finishTime = demo.demoTime;
  demo.finishing = true;
}

void setLimit(double limit) { demo.frameState.limit = limit; }

bool keyHeld(uint32_t key) { return key < 256 && demo.keys[key]; }
double currentDemoTime() { return demo.demoTime; }
double lastFrameStep() { return demo.frameStep; }
const FrameState& frameRecord() { return demo.frameState; }
demoEnding productionEnding() { return demo.ending; }

void cameraEye(float& x, float& y, float& z) {
  x = demo.rcontext.eye.x;
  y = demo.rcontext.eye.y;
  z = demo.rcontext.eye.z;
}

