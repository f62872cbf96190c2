// main.cpp -- the entry point: settings, log, window, message loop, shutdown.
#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "app/options.h"
#include "driver/driver.h"

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
      ok = drawFrame();
      ++drawn;
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
  openLog();
  if (!createGLWindow(WindowTitle, screenWidth, screenHeight, 32, fullscreen)) {
    closeLog();
    return 0;
  }
  int code = messageLoop();
  killGLWindow();
  closeLog();
  return code;
}
