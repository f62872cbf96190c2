// driver.cpp -- start-up and the frame driver.
#include "driver/driver.h"

#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <iostream>

#include "driver/clock.h"
#include "driver/part_loader.h"
#include "driver/timeline.h"
#include "gfx/gldebug.h"
#include "gfx/rendercontext.h"
#include "gfx/slots.h"
#include "gfx/textures.h"
#include "platform/audio.h"
#include "platform/crandom.h"
#include "platform/platform.h"
#include "scenes/scene.h"

static const char* MusicFile = "music//Nauvo and Kestrel - driftwork.mp3";

demoSettings demoConfig;
rendercontext rcontext;
double demoTime = 0.0;
double frameStep = 0.0;
double lastClock = 0.0;
double musicTime = 0.0;
bool musicSync = true;
FrameState frameState;
scene* sections[SectionCount] = {};
part_loader* loaderSection = nullptr;
demoEnding ending = demoEnding::playing;
bool keys[256] = {};
bool finishing = false;
double finishTime = 0.0;

static bool audioOpen = false;

// After a failure's fixed message: what failed and why, on standard error
// and in the log.
static void reportCause(const std::string& what) {
  std::string reason = audioFailure();
  std::string line = "obelisk: " + what + (reason.empty() ? "" : ": " + reason);
  std::fprintf(stderr, "%s\n", line.c_str());
  std::cout << line << std::endl;
}

// False, with the process's exit code, when the track cannot play. Both
// failures end the production unplayed: exit code 1.
static bool startMusic(int& exitCode) {
  if (!audioInit(44100, 32)) {
    platformMessageBox("Problem initializing FMod. \nProgram will now exit.", "Veltra  ", boxIcon::information);
    reportCause("no audio output");
    exitCode = 1;
    return false;
  }
  audioOpen = true;
  if (!audioLoadSample(MusicFile)) {
    platformMessageBox("Problem initializing FMod. \nNo sound file.", "Veltra  ", boxIcon::information);
    reportCause(std::string("cannot play \"") + MusicFile + "\"");
    exitCode = 1;
    return false;
  }
  audioLoop();
  audioPlay(MusicChannel);
  audioSetVolume(MusicChannel, 255);
  audioSetPosition(MusicChannel, 0);
  return true;
}

static void createTargets(const demoSettings& s) {
  int w = s.width, h = s.height, samples = s.antialiased ? 2 : 0;
  rcontext.createRenderTarget(FrameTarget, w, h, samples);
  if (s.antialiased)
    rcontext.createRenderTarget(AuxTarget, w, h, 2);
  else
    rcontext.createRenderTarget(AuxTarget, s.auxWidth, s.auxHeight, 0);
  rcontext.createRenderTarget(QuarterTarget, w / 4, h / 4, samples);
  rcontext.createRenderTarget(PortraitTarget, 360, 640, 0);
}

bool startDemo(const demoSettings& settings, int& exitCode) {
  demoConfig = settings;
  int w = settings.width, h = settings.height;
  rcontext.width = w;
  rcontext.height = h;
  rcontext.progress = loadingProgress;
  if (settings.musicEnabled) audioPrefetchSample(MusicFile);  // decoded while the scenes load
  glGetString(GL_VENDOR);
  glewExperimental = GL_TRUE;
  glewInit();
  glGetError();  // GLEW may leave an error behind
  glDebugInstall();
  createTargets(settings);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

  // every progress step draws and swaps the loading screen: several hundred
  // swaps that would each wait for a display refresh
  int refreshWait = platformSetSwapInterval(0);
  static FrameState loaderState;
  loaderSection = new part_loader();
  loaderSection->load(&rcontext);
  double none = 0.0;
  loaderSection->draw(&none, &rcontext, &loaderState);
  rcontext.progress = loadingProgress;
  for (scene*& s : sections) s = nullptr;

  rcontext.createRandomTexture(RandomSlot, 1024, 1024);
  rcontext.createNoiseTexture(ColourASlot, w, h);
  rcontext.createNoiseTexture(ColourBSlot, w, h);
  rcontext.createNoiseTexture(SmoothSlot, w / 4, h / 4);
  rcontext.createDepthTexture(DepthSlot, w, h);
  std::cout << "#1" << std::endl;
  frameState.partNumber = 0;
  rcontext.sims[0].loadVelocityVolume("textures//velocity.dat");  // the others share its volume
  std::cout << "#2" << std::endl;

  loadSections(&rcontext);
  platformSetSwapInterval(refreshWait);
  if (settings.musicEnabled && !startMusic(exitCode)) return false;
  clockReset();
  lastClock = clockSeconds();
  demoTime = 0.0;
  ending = demoEnding::playing;
  return true;
}

double measureStep() {
  double step = clockSeconds() - lastClock;
  lastClock = clockSeconds();  // the time between the two readings is not counted
  return step < 0 ? 0.0 : step;
}

double followMusic(double step) {
  if (!demoConfig.musicEnabled) return step;
  cSrand(uint32_t(int64_t(demoTime * 1000000.0)));
  for (int i = 0; i < 50; ++i) cRand();
  int frequency = audioFrequency(MusicChannel);
  if (frequency <= 0) return step;
  musicTime = double(audioPosition(MusicChannel)) / frequency;
  if (double(audioSampleLength()) / frequency - 5.0 < musicTime) musicSync = false;
  if (musicSync && demoConfig.followMusic) step += (musicTime - demoTime) * double(0.15f);
  return step;
}

void prepareRecord() {
  frameState.pointerX = frameState.pointerY = frameState.wheel = 0;
  frameState.buttonLeft = 0;
  for (int k = 0; k < 255; ++k)
    if (k != 27) keys[k] = false;
  for (int k = 0; k < 256; ++k) frameState.keys[k] = keys[k] ? 1 : 0;
}

void clampFrameRate(double step) {
  if (!demoConfig.fpsClamp) return;
  float s = float(31.25 - double(float(step)));
  if (s < 0) s = 0;
  if (s > 0.1f) platformSleep(unsigned(s));
}

void runChain() {
  frameState.switched = false;
  frameState.demoTime = demoTime;
  for (scene* s : sections) {
    if (!s) continue;
    if (s->row.partNumber == frameState.partNumber) glDebugSection(s->row.banner);
    s->draw(&frameStep, &rcontext, &frameState);
    if (frameState.switched) {
      std::cout << "The time: " << frameState.demoTime << " part: " << frameState.partNumber << std::endl;
      break;
    }
  }
}

bool endOfProduction() {
  if (demoTime > DemoEnd) {
    ending = demoEnding::timeUp;
    return true;
  }
  if (!finishing) return false;
  double f = (demoTime - finishTime) * 100002.5;
  f = f < 0 ? 0 : (f > 1 ? 1 : f);
  if (demoConfig.musicEnabled && audioOpen) audioSetVolume(MusicChannel, int(255 - f * 255));
  if (f <= double(0.999f)) return false;
  ending = demoEnding::escape;
  return true;
}

bool drawFrame() {
  double step = measureStep();
  step = followMusic(step);
  prepareRecord();
  demoTime += step;
  frameState.demoTime = demoTime;
  clampFrameRate(step);
  frameStep = step;
  runChain();
  return !endOfProduction();
}

void stopDemo() {
  if (audioOpen) audioClose();
  audioOpen = false;
  delete sections[0];
  sections[0] = nullptr;
}

void cameraEye(float& x, float& y, float& z) {
  x = rcontext.eye.x;
  y = rcontext.eye.y;
  z = rcontext.eye.z;
}

void jumpToSection(int part, double t) {
  if (part < 0 || part >= SectionCount || !sections[part]) return;
  double at = 0.0;
  simulateTimeline(0.001, part, t, &at);
  frameState.partNumber = part;
  sections[part]->setClock(t);
  demoTime = at;
  std::cout << "Jump: part " << part << " at " << t << " demo time " << at << std::endl;
  if (demoConfig.musicEnabled && audioOpen) {
    int frequency = audioFrequency(MusicChannel);
    audioSetPosition(MusicChannel, uint32_t(at * (frequency > 0 ? frequency : 44100)));
  }
}
