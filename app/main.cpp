// main.cpp -- the entry point: settings, log, window, message loop, shutdown.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "app/capture.h"
#include "app/options.h"
#include "driver/driver.h"
#include "driver/frametimer.h"
#include "platform/audio.h"

static const char* WindowTitle = " =  Obelisk by Veltra - 2015 = ";

// Options stand in for the dialog: the default size, antialiased, full screen.
static void applyOptions() {
  int pick = defaultModeIndex(modeList);
  screenWidth = pick >= 0 ? modeList[pick].width : 1280;
  screenHeight = pick >= 0 ? modeList[pick].height : 720;
  if (opts.width > 0) {
    screenWidth = opts.width;
    screenHeight = opts.height;
  }
  auxWidth = screenWidth;
  auxHeight = screenHeight;
  antialiased = !opts.noAA;
  fullscreen = !opts.windowed;
  fpsClamp = opts.clamp;
}

static const char* MusicFile = "music//Nauvo and Kestrel - driftwork.mp3";
static bool capturing = false;
static std::chrono::steady_clock::time_point captureStarted;

// Offline runs: the silent clock advances one frame per drawn frame, the
// music position follows it, and every frame may be written out.
static void beforeFrame(long drawn) {
  // the first frame shows the starting moment itself (a jump renders exactly its time)
  if (opts.offline() && drawn > 0) platformCounterAdvance(1.0 / opts.fps);
  benchFrameBegin();
}

static void afterFrame(long drawn) {
  benchFrameEnd();
  if (!capturing) return;
  if (!captureFrame()) {
    std::fprintf(stderr, "obelisk: could not write frame %ld\n", drawn);
    platformPostQuit(1);
  }
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - captureStarted).count();
  std::fprintf(stderr, "\rframe %d  demo time %.3f  %.2f frames/s ", captureFrameCount() - 1, demoTime,
               wall > 0 ? drawn / wall : 0.0);
}

static void endCapture() {
  if (capturing) std::fprintf(stderr, "\n");
  captureEnd();
  if (benchEnabled) benchReport();
}

// Options that change how the run starts, after the start-up is done.
static bool beginOptions() {
  if (opts.section >= 0) {
    double start = opts.section == 0 ? -13.5 : 0.0;
    jumpToSection(opts.section, opts.atGiven ? opts.at : start);
  }
  if (!opts.captureDir.empty() || !opts.videoFile.empty()) {
    std::string error;
    if (!captureBegin(opts.captureDir, opts.videoFile, screenWidth, screenHeight, opts.fps, MusicFile, error,
                      demoTime)) {
      std::fprintf(stderr, "obelisk: %s\n", error.c_str());
      return false;
    }
    capturing = true;
    captureStarted = std::chrono::steady_clock::now();
  }
  std::atexit(endCapture);  // the driver ends the process itself at the end of the production
  return true;
}

// Takes messages without waiting; between them, draws a frame while active.
static int messageLoop() {
  long drawn = 0;
  for (;;) {
    windowMessage msg;
    if (platformPeekMessage(msg)) {
      if (msg.type == msgType::quit) return int(msg.wParam);
      windowProc(msg);
      continue;
    }
    bool ok = true;
    if (windowActive) {
      beforeFrame(drawn);
      ok = drawFrame();
      ++drawn;
      afterFrame(drawn);
    }
    if (((windowActive && !ok) || keys[27]) && !finishing) {
      finishTime = demoTime;
      finishing = true;
    }
    platformSwapBuffers();
    if (opts.frames >= 0 && drawn >= opts.frames) platformPostQuit(0);
  }
}

int main(int argc, char** argv) {
  std::string error;
  if (!parseOptions(argc, argv, opts, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  if (opts.help) {
    std::fputs(usageText(), stdout);
    return 0;
  }
  platformPinBackends();
  bool haveDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
  platformInteractive = !opts.any && haveDisplay;

  enumDisplayModes();
  if (opts.skipDialog || !haveDisplay)
    applyOptions();
  else
    settingsDialog();
  if (opts.any) openConsole();
  if (opts.offline()) {
    platformCounterManual(true);
    audioUseBackend(silentAudioBackend());
    benchEnabled = opts.bench;
    if (opts.bench && opts.frames < 0) opts.frames = 300;
  }
  openLog();
  if (!createGLWindow(WindowTitle, screenWidth, screenHeight, 32, fullscreen)) {
    closeLog();
    return 0;
  }
  if (!beginOptions()) {
    killGLWindow();
    closeLog();
    return 1;
  }
  int code = messageLoop();
  killGLWindow();
  closeLog();
  return code;
}
