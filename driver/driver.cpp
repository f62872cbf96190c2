// driver.cpp -- start-up and the frame driver.
#include "driver/driver.h"

#include <GL/glew.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>
#include <iostream>

#include "driver/clock.h"
#include "driver/overlay.h"
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

demoState demo;

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
  demo.audioOpen = true;
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
  int w = s.screenWidth, h = s.screenHeight, samples = s.antialiased ? 2 : 0;
  demo.rcontext.createRenderTarget(FrameTarget, w, h, samples);
  if (s.antialiased)
    demo.rcontext.createRenderTarget(AuxTarget, w, h, 2);
  else
    demo.rcontext.createRenderTarget(AuxTarget, s.auxWidth, s.auxHeight, 0);
  demo.rcontext.createRenderTarget(QuarterTarget, w / 4, h / 4, samples);
  demo.rcontext.createRenderTarget(PortraitTarget, 360, 640, 0);
}

bool startDemo(const demoSettings& settings, int& exitCode) {
  demo.settings = settings;
  int w = settings.screenWidth, h = settings.screenHeight;
  demo.rcontext.width = w;
  demo.rcontext.height = h;
  demo.rcontext.progress = loadingProgress;
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
  demo.loaderSection = new part_loader();
  demo.loaderSection->load(&demo.rcontext);
  double none = 0.0;
  demo.loaderSection->draw(&none, &demo.rcontext, &loaderState);
  demo.rcontext.progress = loadingProgress;
  for (scene*& s : demo.sections) s = nullptr;

  demo.rcontext.createRandomTexture(RandomSlot, 1024, 1024);
  demo.rcontext.createNoiseTexture(ColourASlot, w, h);
  demo.rcontext.createNoiseTexture(ColourBSlot, w, h);
  demo.rcontext.createNoiseTexture(SmoothSlot, w / 4, h / 4);
  demo.rcontext.createDepthTexture(DepthSlot, w, h);
  std::cout << "#1" << std::endl;
  demo.frameState.partNumber = 0;
  demo.rcontext.sims[0].loadVelocityVolume("textures//velocity.dat");  // the others share its volume
  std::cout << "#2" << std::endl;

  loadSections(&demo.rcontext);
  if (settings.authoring) overlayLoad(&demo.rcontext);
  platformSetSwapInterval(refreshWait);
  if (settings.musicEnabled && !startMusic(exitCode)) return false;
  clockReset();
  demo.lastClock = clockSeconds();
  demo.musicMovedAt = demo.lastClock;
  demo.demoTime = 0.0;
  demo.ending = demoEnding::playing;
  return true;
}

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

void clampFrameRate(double step) {
  if (!demo.settings.fpsClamp) return;
  float s = float(31.25 - double(float(step)));
  if (s < 0) s = 0;
  if (s > 0.1f) platformSleep(unsigned(s));
}

void runChain() {
  demo.frameState.switched = false;
  demo.frameState.demoTime = demo.demoTime;
  for (scene* s : demo.sections) {
    if (!s) continue;
    if (s->row.partNumber == demo.frameState.partNumber) glDebugSection(s->row.banner);
    s->draw(&demo.frameStep, &demo.rcontext, &demo.frameState);
    if (demo.frameState.switched) {
      std::cout << "The time: " << demo.frameState.demoTime << " part: " << demo.frameState.partNumber << std::endl;
      break;
    }
  }
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

static void showOverlay();

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
  runChain();
  if (demo.settings.authoring) showOverlay();  // the values of the frame just drawn, before a loop goes back
  if (demo.loopPart >= 0 && before == demo.loopPart && demo.frameState.partNumber != before) {
    seekDemo(sectionStart(demo.loopPart));
    demo.frameState.partNumber = demo.loopPart;  // a hand-over on the very first frame stays looped
  }
  return !endOfProduction();
}

void stopDemo() {
  if (demo.audioOpen) audioClose();
  demo.audioOpen = false;
  delete demo.sections[0];
  demo.sections[0] = nullptr;
}

void cameraEye(float& x, float& y, float& z) {
  x = demo.rcontext.eye.x;
  y = demo.rcontext.eye.y;
  z = demo.rcontext.eye.z;
}

// ---- authoring transport ----------------------------------------------------------

double sectionStart(int part) {
  if (part <= 0) return 0.0;
  static std::vector<double> handOvers = simulateTimeline(1.0 / 60.0);
  return size_t(part) <= handOvers.size() ? handOvers[size_t(part) - 1] : DemoEnd;
}

void togglePause() {
  demo.paused = !demo.paused;
  if (demo.settings.musicEnabled && demo.audioOpen) audioPause(demo.paused);
  std::cout << (demo.paused ? "Paused at " : "Resumed at ") << demo.demoTime << std::endl;
}

void seekBy(double seconds) {
  double to = demo.demoTime + seconds;
  seekDemo(to < 0 ? 0.0 : (to > DemoEnd ? DemoEnd : to));
}

void seekSection(int direction) {
  int part = demo.frameState.partNumber + direction;
  part = part < 0 ? 0 : (part >= SectionCount ? SectionCount - 1 : part);
  seekDemo(sectionStart(part));
}

void toggleOverlay() { overlay.shown = !overlay.shown; }

// The overlay's lines: demo time, the current section and its own clock,
// the frame rate and the transport's state.
static void showOverlay() {
  using wall = std::chrono::steady_clock;
  overlayNoteFrame(std::chrono::duration<double>(wall::now().time_since_epoch()).count());
  if (!overlay.shown) return;
  int part = demo.frameState.partNumber;
  const scene* s = part >= 0 && part < SectionCount ? demo.sections[part] : nullptr;
  char a[96], b[96], c[96];
  std::snprintf(a, sizeof a, "demo %7.2f s", demo.demoTime);
  if (s)
    std::snprintf(b, sizeof b, "%s %7.2f s", sectionTable[part].banner, s->t);
  else
    std::snprintf(b, sizeof b, "after the last section");
  std::snprintf(c, sizeof c, "%5.1f frames/s%s%s", overlayRate(), demo.paused ? "  paused" : "",
                demo.loopPart >= 0 ? "  loop" : "");
  overlayDraw(&demo.rcontext, {a, b, c});
}

void toggleLoop() {
  demo.loopPart = demo.loopPart >= 0 ? -1 : demo.frameState.partNumber;
  std::cout << "Loop: " << (demo.loopPart >= 0 ? "part " + std::to_string(demo.loopPart) : std::string("off"))
            << std::endl;
}

// The music follows a jump or a seek to demo time `at`.
static void placeMusic(double at) {
  if (!demo.settings.musicEnabled || !demo.audioOpen) return;
  int frequency = audioFrequency(MusicChannel);
  audioSetPosition(MusicChannel, uint32_t(at * (frequency > 0 ? frequency : 44100)));
}

void seekDemo(double to) {
  scene* fresh[MaxSections] = {};
  for (int part = 0; part < SectionCount; ++part) {
    fresh[part] = createSection(part);
    if (demo.sections[part]) fresh[part]->shake = demo.sections[part]->shake;
  }
  double reached = 0.0;
  FrameState record = playTimeline(fresh, 1.0 / 60.0, to, &reached);
  for (int part = 0; part < SectionCount; ++part) {
    if (demo.sections[part]) {
      demo.sections[part]->takeTimeline(*fresh[part]);
      demo.sections[part]->restartClouds();
    }
    delete fresh[part];
  }
  demo.frameState.partNumber = record.partNumber;
  demo.frameState.values[0] = record.values[0];
  demo.demoTime = reached;
  demo.musicSync = true;
  demo.musicMovedAt = clockSeconds();
  placeMusic(reached);
  std::cout << "Seek: demo time " << reached << " part " << record.partNumber << std::endl;
}

void jumpToSection(int part, double t) {
  if (part < 0 || part >= SectionCount || !demo.sections[part]) return;
  double at = 0.0;
  simulateTimeline(0.001, part, t, &at);
  demo.frameState.partNumber = part;
  demo.sections[part]->setClock(t);
  demo.demoTime = at;
  std::cout << "Jump: part " << part << " at " << t << " demo time " << at << std::endl;
  placeMusic(at);
}
