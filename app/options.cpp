// options.cpp -- command-line options: one table gives both the parsing and
// the usage text.
#include "app/options.h"

#include <string>

#include <cstdlib>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "driver/driver.h"
#include "scenes/sections.h"

options opts;

// The value readers take the null of a missing value as a bad one.

static bool parseSize(const char* s, int& w, int& h) {
  if (!s) return false;
  char* end = nullptr;
  long a = std::strtol(s, &end, 10);
  if (end == s || (*end != 'x' && *end != 'X')) return false;
  const char* rest = end + 1;
  long b = std::strtol(rest, &end, 10);
  if (end == rest || *end != 0 || a < 16 || b < 16 || a > 4096 || b > 4096) return false;
  w = int(a);
  h = int(b);
  return true;
}

static bool parseNumber(const char* s, double& v) {
  if (!s) return false;
  char* end = nullptr;
  v = std::strtod(s, &end);
  return end != s && *end == 0 && std::isfinite(v);
}

static bool parseCount(const char* s, long& n) {
  if (!s) return false;
  char* end = nullptr;
  n = std::strtol(s, &end, 10);
  return end != s && *end == 0 && n >= 0;
}

static bool parsePath(const char* s, std::string& path) {
  if (!s || s[0] == 0) return false;
  path = s;
  return true;
}

static bool refuse(std::string& error, const std::string& text) {
  error = "obelisk: " + text;
  return false;
}

// ---- the options that take a value ------------------------------------------------

static bool applyMode(const char* value, options& o, std::string& error) {
  return parseSize(value, o.width, o.height) || refuse(error, "--mode needs a size like 1280x720, 16 to 4096 a side");
}

static bool applyFrames(const char* value, options& o, std::string& error) {
  bool valid = parseCount(value, o.frames) && o.frames >= 1;  // no run draws nothing
  return valid || refuse(error, "--frames needs a count of frames, 1 or more");
}

static bool applyCapture(const char* value, options& o, std::string& error) {
  return parsePath(value, o.captureDir) || refuse(error, "--capture needs a path");
}

static bool applyVideo(const char* value, options& o, std::string& error) {
  return parsePath(value, o.videoFile) || refuse(error, "--video needs a path");
}

static bool applyFps(const char* value, options& o, std::string& error) {
  bool valid = parseNumber(value, o.fps) && o.fps >= 1 && o.fps <= 1000;
  return valid || refuse(error, "--fps needs a rate between 1 and 1000");
}

static bool applySection(const char* value, options& o, std::string& error) {
  long n = -1;
  if (!parseCount(value, n) || n >= SectionCount)
    return refuse(error, "--section needs a section number from 0 to " + std::to_string(SectionCount - 1));
  o.section = int(n);
  return true;
}

static bool applyAt(const char* value, options& o, std::string& error) {
  o.atGiven = parseNumber(value, o.at);
  return o.atGiven || refuse(error, "--at needs a time in seconds");
}

static bool applySeek(const char* value, options& o, std::string& error) {
  bool valid = parseNumber(value, o.seek) && o.seek >= 0 && o.seek <= DemoEnd;
  return valid || refuse(error, "--seek needs a demo time from 0 to 455.5 s");
}

static bool applyReference(const char* value, options& o, std::string& error) {
  return parsePath(value, o.referenceDir) || refuse(error, "--reference needs a folder");
}

static bool applyWriteReference(const char* value, options& o, std::string& error) {
  return parsePath(value, o.writeReferenceDir) || refuse(error, "--write-reference needs a folder");
}

// ---- the table -------------------------------------------------------------------
// In the order of the usage text. The flags are set where they are listed.

const std::vector<optionRow> optionTable = {
    {"--mode", "WxH", "window or full-screen size (skips the dialog)", true, applyMode},
    {"--windowed", nullptr, "run in a window", true,
     [](const char*, options& o, std::string&) { o.windowed = true; return true; }},
    {"--no-aa", nullptr, "no antialiasing", true,
     [](const char*, options& o, std::string&) { o.noAA = true; return true; }},
    {"--fps-clamp", nullptr, "cap the frame rate at about 32 frames per second", true,
     [](const char*, options& o, std::string&) { o.clamp = true; return true; }},
    {"--frames", "N", "end normally after N drawn frames", true, applyFrames},
    {"--capture", "DIR", "render offline, every frame written as DIR/frame_NNNNNN.png", true, applyCapture},
    {"--video", "FILE", "render offline, frames piped to ffmpeg with the music", true, applyVideo},
    {"--fps", "F", "frames per second of a capture or benchmark (default 30)", false, applyFps},
    {"--section", "N", "start with section N (0-5) current ...", true, applySection},
    {"--at", "T", "... with its own clock at T seconds", false, applyAt},
    {"--seek", "T",
     "start at demo time T as playing would have it: every section's clock\n"
     "and accumulators, the music, the clouds born for their time",
     true, applySeek},
    {"--bench", nullptr, "frame-time benchmark on the silent clock (see --frames)", true,
     [](const char*, options& o, std::string&) { o.bench = true; return true; }},
    {"--watch", nullptr, "recompile a shader program in place when its files change", false,
     [](const char*, options& o, std::string&) { o.watch = true; return true; }},
    {"--author", nullptr,
     "the transport keys (and --watch): Space pause, Left/Right seek 1 s\n"
     "(Shift: 10 s), Page Up/Down previous/next section, Home start,\n"
     "L loop the section, H the overlay (time, section, frame times)",
     false, [](const char*, options& o, std::string&) { o.author = o.watch = true; return true; }},
    {"--headless", nullptr, "render off-screen through EGL, without a display server or sound card", true,
     [](const char*, options& o, std::string&) { o.headless = true; return true; }},
    {"--gpu-check", nullptr,
     "time every scene (--mode, default 1920x1080; --frames, default 600)\n"
     "and hold a frame of each against the software rasterizer's; exit 1 on\n"
     "a GL error, a scene that does not draw or a frame a quarter off",
     true, [](const char*, options& o, std::string&) { o.gpuCheck = true; return true; }},
    {"--reference", "DIR", "the GPU check's reference frames (default: reference beside the program)", false,
     applyReference},
    {"--write-reference", "DIR", "the GPU check writes its comparison frames into DIR", false, applyWriteReference},
    {"--gl-debug", nullptr, "log every GL error and performance warning once, count them at the end", false,
     [](const char*, options& o, std::string&) { o.glDebug = true; return true; }},
    {"--data-folder", nullptr, "bake the data if needed, print the data folder, play nothing", false,
     [](const char*, options& o, std::string&) { o.dataFolder = true; return true; }},
    {"--help", nullptr, "this text", false, [](const char*, options& o, std::string&) { o.help = true; return true; }},
};

// Each option on a line of its own: name and argument in a column of 16,
// then its help, whose further lines are indented to the same column.
static std::string makeUsage() {
  std::string text = "usage: obelisk [options]\n";
  for (const optionRow& row : optionTable) {
    std::string left = row.name;
    if (row.argument) left += std::string(" ") + row.argument;
    text += "  " + left + std::string(left.size() < 16 ? 16 - left.size() : 1, ' ');
    for (const char* c = row.help; *c; ++c) text += *c == '\n' ? "\n" + std::string(18, ' ') : std::string(1, *c);
    text += "\n";
  }
  return text;
}

const char* usageText() {
  static const std::string text = makeUsage();
  return text.c_str();
}

static const optionRow* findOption(const std::string& name) {
  for (const optionRow& row : optionTable)
    if (name == row.name) return &row;
  return nullptr;
}

bool parseOptions(int argc, char** argv, options& o, std::string& error) {
  o = options();
  o.any = argc > 1;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    const optionRow* row = findOption(a == "-h" ? "--help" : a);  // -h: the short form of --help
    if (!row) return refuse(error, "unknown option " + a + " (try --help)");
    const char* value = nullptr;
    if (row->argument && i + 1 < argc) value = argv[++i];
    if (!row->apply(value, o, error)) return false;
    o.skipDialog = o.skipDialog || row->skipsDialog;
  }
  if (o.atGiven && o.section < 0) {
    error = "obelisk: --at needs --section";
    return false;
  }
  if (o.seek >= 0 && o.section >= 0) {
    error = "obelisk: --seek and --section exclude each other";
    return false;
  }
  if (o.atGiven) {
    const sectionRow& row = sectionTable[o.section];
    if (o.at < row.startClock || o.at > row.endClock) {
      char text[160];
      std::snprintf(text, sizeof text, "obelisk: --at %g is outside section %d, whose clock runs from %g to %g s",
                    o.at, o.section, row.startClock, row.endClock);
      error = text;
      return false;
    }
  }
  if (!o.captureDir.empty() && !o.videoFile.empty()) {
    error = "obelisk: --capture and --video exclude each other";
    return false;
  }
  return true;
}
