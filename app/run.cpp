// run.cpp -- the program's course: settings, log, window, start-up, the loop
// of frames and the one shutdown every way out goes through.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/app.h"
#include "app/capture.h"
#include "app/gpucheck.h"
#include "app/options.h"
#include "driver/driver.h"
#include "gfx/frametimer.h"
#include "gfx/gldebug.h"
#include "gfx/shaderset.h"
#include "gfx/textures.h"
#include "platform/audio.h"
#include "platform/faults.h"
#include "scenes/sections.h"

static const char* WindowTitle = " =  Obelisk by Veltra - 2015 = ";

// Options stand in for the dialog: the default size, antialiased, full screen.
static void applyOptions() {
  int pick = defaultModeIndex(modeList);
  chosen.screenWidth = pick >= 0 ? modeList[pick].width : 1280;
  chosen.screenHeight = pick >= 0 ? modeList[pick].height : 720;
  if (opts.gpuCheck) {  // a size that says something of a card, not of this display
    chosen.screenWidth = 1920;
    chosen.screenHeight = 1080;
  }
  if (opts.width > 0) {
    chosen.screenWidth = opts.width;
    chosen.screenHeight = opts.height;
  }
  chosen.auxWidth = chosen.screenWidth;
  chosen.auxHeight = chosen.screenHeight;
  chosen.antialiased = !opts.noAA;
  chosen.fullscreen = !opts.windowed;
  chosen.fpsClamp = opts.clamp;
}

// Headless: the window is never seen nor full screen, and a live run plays
// to a silent output (a render server has no sound card). An audio driver
// chosen in the environment is kept.
static void goHeadless() {
  platformGoHeadless();
  opts.windowed = true;
}

// ---- capture and benchmark ----------------------------------------------------------------

static bool capturing = false;
static std::chrono::steady_clock::time_point captureStarted;

static double startUpSeconds = 0;  // launch to the first frame, for the benchmark

// Offline runs: the silent clock advances one frame per drawn frame, the
// music position follows it, and every frame may be written out.
static void beforeFrame(long drawn) {
  if (drawn == 0) startUpSeconds = platformSecondsSinceLaunch();
  // the first frame shows the starting moment itself (a jump renders exactly its time)
  if (opts.offline() && drawn > 0) platformCounterAdvance(1.0 / opts.fps);
  benchFrameBegin();
}

static void afterFrame(long drawn) {
  benchFrameEnd();
  if (!capturing) return;
  // every change of section, the mantis' unflagged hand-over too, for the full-run check
  static int lastPart = -1;
  int part = frameRecord().partNumber;
  if (part != lastPart) {
    if (lastPart >= 0) std::fprintf(stderr, "\npart %d from demo time %.3f\n", part, currentDemoTime());
    lastPart = part;
  }
  if (!captureFrame()) {
    std::fprintf(stderr, "\nobelisk: frame %ld: %s\n", drawn - 1, captureError().c_str());
    platformPostQuit(1);
    return;
  }
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - captureStarted).count();
  std::fprintf(stderr, "\rframe %d  demo time %.3f  %.2f frames/s ", captureFrameCount() - 1, currentDemoTime(),
               wall > 0 ? drawn / wall : 0.0);
}

// Options that change how the run starts, after the start-up is done.
static bool beginOptions() {
  if (opts.section >= 0)
    jumpToSection(opts.section, opts.atGiven ? opts.at : sectionTable[opts.section].startClock);
  if (opts.seek >= 0) seekDemo(opts.seek);
  if (opts.captureDir.empty() && opts.videoFile.empty()) return true;
  std::string error;
  int frequency = audioFrequency(MusicChannel);
  double musicLength = frequency > 0 ? double(audioSampleLength()) / frequency : -1.0;
  if (!captureBegin(opts.captureDir, opts.videoFile, chosen.screenWidth, chosen.screenHeight, opts.fps, MusicFile, error,
                    currentDemoTime(), musicLength)) {
    std::fprintf(stderr, "obelisk: %s\n", error.c_str());
    return false;
  }
  capturing = true;
  captureStarted = std::chrono::steady_clock::now();
  return true;
}

// The GPU check at the chosen size; its reference frames are the folder
// given, or "reference" beside the program (as the release archive has them).
static int gpuCheck() {
  namespace fs = std::filesystem;
  gpuCheckSettings s;
  s.width = chosen.screenWidth;
  s.height = chosen.screenHeight;
  s.antialiased = chosen.antialiased;
  s.frames = opts.frames >= 0 ? int(opts.frames) : 600;
  std::error_code e;
  s.referenceDir = opts.referenceDir;
  std::string beside = platformExecutableDir() + "/reference";
  if (s.referenceDir.empty() && fs::is_directory(beside, e)) s.referenceDir = beside;
  s.writeDir = opts.writeReferenceDir;
  if (!s.writeDir.empty() && !fs::create_directories(s.writeDir, e) && e) {
    std::fprintf(stderr, "obelisk: cannot make %s: %s\n", s.writeDir.c_str(), e.message().c_str());
    return 1;
  }
  return runGpuCheck(s);
}

// ---- faults and signals -------------------------------------------------------------------

// Runs that stand for what they made (captures, videos, benchmarks, the
// check, a counted number of frames) may not end well over a fault; the
// live production plays on over what only takes something away.
static bool strictRun() { return opts.offline() || opts.frames >= 0; }

// 1, after one line naming the first fault, when the faults recorded so far
// end this run; 0 otherwise. Each loader has said its own fault already.
static int judgeFaults() {
  const std::vector<fault>& faults = recordedFaults();
  const fault* first = nullptr;
  size_t counted = 0;
  for (const fault& f : faults)
    if (f.kind == faultKind::cannotPlay || strictRun()) {
      if (!first) first = &f;
      ++counted;
    }
  if (!first) return 0;
  std::string more = counted > 1 ? " (and " + std::to_string(counted - 1) + " more, above)" : "";
  std::string line = "obelisk: the run fails: " + first->what + more;
  std::fprintf(stderr, "%s%s\n", capturing ? "\n" : "", line.c_str());
  std::cout << line << std::endl;
  return 1;
}

static int stoppedBy = 0;          // the stop signal the run ended on
static bool stoppedLoading = false;  // ... before its first frame

// A stop signal while loading: the process ends there, with its code.
static void stopWhileLoading(int signal) {
  stoppedBy = signal;
  stoppedLoading = true;
  abandonProduction(128 + signal);
}

// ---- loop and shutdown --------------------------------------------------------------------

// Takes messages without waiting; between them, draws a frame while active.
// Returns the exit code: the quit message's, or 0 when the production ended.
static int messageLoop() {
  long drawn = 0;
  size_t faultsSeen = recordedFaults().size();
  for (;;) {
    if (int signal = platformStopSignal()) {
      stoppedBy = signal;
      return 128 + signal;
    }
    windowMessage msg;
    if (platformPeekMessage(msg)) {
      if (msg.type == msgType::quit) return int(msg.wParam);
      windowProc(msg);
      continue;
    }
    if (opts.watch) reloadChangedShaders();
    if (windowActive) {
      beforeFrame(drawn);
      bool playing = drawFrame();
      ++drawn;
      afterFrame(drawn);
      if (recordedFaults().size() != faultsSeen) {  // a program made late
        faultsSeen = recordedFaults().size();
        if (int code = judgeFaults()) return code;
      }
      if (!playing) return 0;
    }
    if (keyHeld(27)) beginClosingFade();
    platformSwapBuffers();
    if (opts.frames >= 0 && drawn >= opts.frames) platformPostQuit(0);
  }
}

static bool shutDown = false;

int shutdownProduction(int code) {
  if (shutDown) return code;
  shutDown = true;
  if (productionEnding() == demoEnding::escape) {
    copyToClipboard(debugText);
    // the clipboard dies with the process unless a manager takes it: keep it in the log too
    std::cout << "Debug text:\n" << debugText << std::endl;
  }
  if (capturing) std::fprintf(stderr, "\n");
  if (stoppedBy) {
    std::string line = std::string("obelisk: interrupted by ") + platformSignalName(stoppedBy);
    if (stoppedLoading) line += " while loading";
    if (capturing) line += "; " + std::to_string(captureFrameCount()) + " frames written";
    std::fprintf(stderr, "%s\n", line.c_str());
    std::cout << line << std::endl;
  }
  if (!captureEnd() && code == 0) code = 1;  // a video that is not whole is no success
  capturing = false;
  if (benchEnabled && !opts.gpuCheck) {
    std::printf("start-up: %.2f s (launch to the first frame)\n", startUpSeconds);
    benchReport();
  }
  if (platformHasContext()) glDebugReport();
  stopDemo();
  killGLWindow();
  closeLog();
  return code;
}

void abandonProduction(int code) {
  std::exit(shutdownProduction(code));
}

// The data folder is the working directory. Started elsewhere, the program
// moves into the data folder built beside it, or says how to run it.
int runObelisk(int argc, char** argv) {
  std::string error;
  if (!parseOptions(argc, argv, opts, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  if (opts.help) {
    std::fputs(usageText(), stdout);
    return 0;
  }
  std::string dataFolder;
  if (!findDataFolder(dataFolder, error)) {
    std::fprintf(stderr, "obelisk: %s\n", error.c_str());
    return 1;
  }
  if (opts.dataFolder) {
    std::printf("%s\n", dataFolder.c_str());
    return 0;
  }
  if (opts.headless) goHeadless();
  platformPinBackends();
  bool haveDisplay = !opts.headless && platformHasDisplay();
  platformInteractive = !opts.any && haveDisplay;

  if (!opts.skipDialog && !platformLoadDialogToolkit()) {
    std::fprintf(stderr,
                 "obelisk: the settings dialog needs GTK 3 (%s); choose the settings with options instead: "
                 "--mode WxH, --windowed, --no-aa, --fps-clamp (see --help)\n",
                 platformDialogToolkitFailure().c_str());
    return 2;
  }
  if (!opts.headless) enumDisplayModes();  // an off-screen surface has no display to list
  if (opts.skipDialog || !haveDisplay)
    applyOptions();
  else
    settingsDialog();
  if (opts.any) openConsole();
  chosen.followMusic = !opts.offline();  // the silent clock drives picture and music alike
  chosen.authoring = opts.author;
  if (opts.offline()) {
    platformCounterManual(true);
    audioUseBackend(silentAudioBackend());
    benchEnabled = opts.bench || opts.gpuCheck;
    if (opts.bench && opts.frames < 0) opts.frames = 300;
  }
  platformCatchStopSignals();  // a capture ends properly; loading stops with the signal's code
  openLog();
  glDebugEnabled = opts.glDebug || opts.gpuCheck;  // the check counts the errors of every scene
  shaderWatchEnabled = opts.watch;
  platformDebugContext(opts.glDebug);
  if (!createGLWindow(WindowTitle, chosen.screenWidth, chosen.screenHeight, 32, chosen.fullscreen)) {
    if (!haveDisplay && !opts.headless)
      std::fprintf(stderr, "obelisk: there is no display to open a window on (DISPLAY and WAYLAND_DISPLAY are "
                           "unset); --headless renders without one\n");
    return shutdownProduction(1);  // the production could not play
  }
  int largest = glLargestTarget();
  if (chosen.screenWidth > largest || chosen.screenHeight > largest) {
    std::fprintf(stderr, "obelisk: %d x %d is larger than this graphics driver can render (at most %d a side)\n",
                 chosen.screenWidth, chosen.screenHeight, largest);
    return shutdownProduction(2);
  }
  textureFailure = abandonProduction;
  loadingInterrupted = stopWhileLoading;
  int code = 0;
  bool started = startDemo(chosen, code);
  loadingInterrupted = nullptr;
  if (int signal = platformStopSignal()) {  // came during the last steps of the start-up
    stoppedBy = signal;
    stoppedLoading = true;
    return shutdownProduction(128 + signal);
  }
  if (!started) return shutdownProduction(code);
  if (int failed = judgeFaults()) return shutdownProduction(failed);
  if (opts.gpuCheck) {
    code = gpuCheck();
    if (int signal = platformStopSignal()) {
      stoppedBy = signal;
      code = 128 + signal;
    }
    return shutdownProduction(code);
  }
  if (!beginOptions()) return shutdownProduction(1);
  return shutdownProduction(messageLoop());
}
