// options.h -- command-line options. Without any the program behaves as it
// always did: the dialog chooses the settings.
#pragma once
#include <string>

struct options {
  bool any = false;         // any argument at all opens the console
  bool skipDialog = false;  // a setting was given: no dialog
  bool help = false;
  long frames = -1;         // end normally after this many drawn frames
  int width = 0, height = 0;
  bool windowed = false, noAA = false, clamp = false;
  std::string captureDir;   // offline capture of every frame into this folder
  std::string videoFile;    // offline capture piped to ffmpeg
  double fps = 30.0;        // frames per second of demo time when capturing or benchmarking
  int section = -1;         // scene jump: start with this section current
  double at = 0.0;          // ... with its own clock at this value
  bool atGiven = false;
  double seek = -1.0;       // start at this demo time as playing would have it (every clock,
                            // accumulator and cloud), or -1
  bool bench = false;       // frame-time benchmark
  bool watch = false;       // shader files recompiled in place when they change
  bool author = false;      // the transport keys: pause, seek, jump between sections, loop
  bool glDebug = false;     // GL errors and performance warnings logged and counted
  bool headless = false;    // an off-screen surface instead of a window: no display server needed

  // Offline runs follow a silent clock that advances 1/fps per frame.
  bool offline() const { return !captureDir.empty() || !videoFile.empty() || bench; }
};
extern options opts;

// Fills opts from the arguments. Returns false with a one-line message in
// error when an option is unknown or its value is bad.
bool parseOptions(int argc, char** argv, options& o, std::string& error);
const char* usageText();
