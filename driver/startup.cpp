// startup.cpp -- start-up and shutdown: targets, the loading screen, every
// section's load and the music.
#include <GL/glew.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "driver/clock.h"
#include "driver/overlay.h"
#include "driver/part_loader.h"
#include "driver/state.h"
#include "driver/timeline.h"
#include "gfx/gldebug.h"
#include "gfx/slots.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "scenes/scene.h"

// After a failure's fixed message: what failed and why, on standard error
// and in the log.
static void reportCause(const std::string& what) {
  std::string reason = audioFailure();
  std::string line = "obelisk: " + what + (reason.empty() ? "" : ": " + reason);
  std::fprintf(stderr, "%s\n", line.c_str());
  std::cout << line << std::endl;
}

// A track that ends before the production (cut short, or another file in
// its place) plays to its end and then loops; demo time follows the frame
// clock past its end (the music watchdog lets go of it). Said once, on
// standard error and in the log, with where it ends.
static void sayWhereTheTrackEnds() {
  int frequency = audioFrequency(MusicChannel);
  if (frequency <= 0) return;
  double length = double(audioSampleLength()) / frequency;
  if (length >= DemoEnd) return;
  char line[256];
  std::snprintf(line, sizeof line,
                "obelisk: the music \"%s\" ends at %.2f s, before the production's %.1f s; the picture goes on "
                "by the frame clock past it",
                MusicFile, length, DemoEnd);
  std::fprintf(stderr, "%s\n", line);
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
  sayWhereTheTrackEnds();
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

// The textures of the window's size that every scene renders into.
static void createFrameTextures(int w, int h) {
  demo.rcontext.createNoiseTexture(ColourASlot, w, h);
  demo.rcontext.createNoiseTexture(ColourBSlot, w, h);
  demo.rcontext.createNoiseTexture(SmoothSlot, w / 4, h / 4);
  demo.rcontext.createDepthTexture(DepthSlot, w, h);
}

// The scene loaders' progress callback: the loading screen moves on a step.
static void loadingProgress(double amount) { showLoadingStep(*demo.loaderSection, &demo.rcontext, amount); }

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
  createFrameTextures(w, h);
  std::cout << "#1" << std::endl;
  demo.frameState.partNumber = 0;
  // the others share its volume; a damaged one would turn every cloud to NaN
  if (!demo.rcontext.sims[0].loadVelocityVolume("textures//velocity.dat")) {
    platformSetSwapInterval(refreshWait);
    exitCode = 1;
    return false;
  }
  std::cout << "#2" << std::endl;

  loadSections(demo.sections, &demo.rcontext);
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

void resizeDemo(int width, int height, bool antialiased) {
  demo.settings.screenWidth = demo.settings.auxWidth = demo.rcontext.width = width;
  demo.settings.screenHeight = demo.settings.auxHeight = demo.rcontext.height = height;
  demo.settings.antialiased = antialiased;
  for (int target : {FrameTarget, AuxTarget, QuarterTarget, PortraitTarget}) demo.rcontext.deleteRenderTarget(target);
  for (int slot : {ColourASlot, ColourBSlot, SmoothSlot, DepthSlot}) glDeleteTextures(1, &demo.rcontext.textures[slot]);
  createTargets(demo.settings);
  createFrameTextures(width, height);
}

void renderFramesInto(unsigned framebuffer) { demo.rcontext.windowFramebuffer = framebuffer; }

void stopDemo() {
  if (demo.audioOpen) audioClose();
  demo.audioOpen = false;
  delete demo.sections[0];
  demo.sections[0] = nullptr;
}
