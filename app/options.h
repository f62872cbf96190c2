// options.h -- command-line options. Without any the program behaves as it
// always did: the dialog chooses the settings.
#pragma once
#include <string>
#include <vector>

struct options {
  bool any = false;         // any argument at all opens the console
  bool skipDialog = false;  // a setting was given: no dialog
  bool help = false;
  bool dataFolder = false;  // print the data folder (baked first when needed) and end
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
  bool gpuCheck = false;    // time every scene and compare its frames with the references
  std::string referenceDir;       // the GPU check's reference frames
  std::string writeReferenceDir;  // where the GPU check writes its comparison frames

  // Offline runs follow a silent clock that advances 1/fps per frame.
  bool offline() const { return !captureDir.empty() || !videoFile.empty() || bench || gpuCheck; }
};
extern options opts;

// One command-line option: what the usage shows and how the option is applied.
struct optionRow {
  const char* name;      // "--mode"
  const char* argument;  // the value's name in the usage ("WxH"); null: the option takes none
  const char* help;      // the usage's description; a '\n' continues it on an indented line
  bool skipsDialog;      // a setting: given, the dialog is not shown
  // Sets the option in o. value is the next argument (null for a flag, or
  // when the arguments end first); false with a one-line message in error
  // when it will not do.
  bool (*apply)(const char* value, options& o, std::string& error);
};
// Every option, in the order of the usage text.
extern const std::vector<optionRow> optionTable;

// Fills opts from the arguments. Returns false with a one-line message in
// error when an option is unknown or its value is bad.
bool parseOptions(int argc, char** argv, options& o, std::string& error);
// The usage text, made from the table.
const char* usageText();
