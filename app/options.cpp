// options.cpp -- command-line options.
#include "app/options.h"

#include <string>

#include <cstdlib>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "driver/driver.h"
#include "scenes/sections.h"

options opts;

const char* usageText() {
  return "usage: obelisk [options]\n"
         "  --mode WxH      window or full-screen size (skips the dialog)\n"
         "  --windowed      run in a window\n"
         "  --no-aa         no antialiasing\n"
         "  --fps-clamp     cap the frame rate at about 32 frames per second\n"
         "  --frames N      end normally after N drawn frames\n"
         "  --capture DIR   render offline, every frame written as DIR/frame_NNNNNN.png\n"
         "  --video FILE    render offline, frames piped to ffmpeg with the music\n"
         "  --fps F         frames per second of a capture or benchmark (default 30)\n"
         "  --section N     start with section N (0-5) current ...\n"
         "  --at T          ... with its own clock at T seconds\n"
         "  --seek T        start at demo time T as playing would have it: every section's clock\n"
         "                  and accumulators, the music, the clouds born for their time\n"
         "  --bench         frame-time benchmark on the silent clock (see --frames)\n"
         "  --watch         recompile a shader program in place when its files change\n"
         "  --author        the transport keys (and --watch): Space pause, Left/Right seek 1 s\n"
         "                  (Shift: 10 s), Page Up/Down previous/next section, Home start,\n"
         "                  L loop the section, H the overlay (time, section, frame times)\n"
         "  --headless      render off-screen through EGL, without a display server or sound card\n"
         "  --gl-debug      log every GL error and performance warning once, count them at the end\n"
         "  --help          this text\n";
}

static bool parseSize(const char* s, int& w, int& h) {
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
  char* end = nullptr;
  v = std::strtod(s, &end);
  return end != s && *end == 0 && std::isfinite(v);
}

static bool parseCount(const char* s, long& n) {
  char* end = nullptr;
  n = std::strtol(s, &end, 10);
  return end != s && *end == 0 && n >= 0;
}

bool parseOptions(int argc, char** argv, options& o, std::string& error) {
  o = options();
  o.any = argc > 1;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool hasValue = i + 1 < argc;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--windowed") {
      o.windowed = o.skipDialog = true;
    } else if (a == "--no-aa") {
      o.noAA = o.skipDialog = true;
    } else if (a == "--fps-clamp") {
      o.clamp = o.skipDialog = true;
    } else if (a == "--mode") {
      if (!hasValue || !parseSize(argv[++i], o.width, o.height)) {
        error = "obelisk: --mode needs a size like 1280x720, 16 to 4096 a side";
        return false;
      }
      o.skipDialog = true;
    } else if (a == "--frames") {
      if (!hasValue || !parseCount(argv[++i], o.frames)) {
        error = "obelisk: --frames needs a count of frames";
        return false;
      }
      o.skipDialog = true;
    } else if (a == "--capture" || a == "--video") {
      if (!hasValue || argv[i + 1][0] == 0) {
        error = "obelisk: " + a + " needs a path";
        return false;
      }
      (a == "--capture" ? o.captureDir : o.videoFile) = argv[++i];
      o.skipDialog = true;
    } else if (a == "--fps") {
      if (!hasValue || !parseNumber(argv[++i], o.fps) || o.fps < 1 || o.fps > 1000) {
        error = "obelisk: --fps needs a rate between 1 and 1000";
        return false;
      }
    } else if (a == "--section") {
      long n = -1;
      if (!hasValue || !parseCount(argv[++i], n) || n >= SectionCount) {
        error = "obelisk: --section needs a section number from 0 to " + std::to_string(SectionCount - 1);
        return false;
      }
      o.section = int(n);
      o.skipDialog = true;
    } else if (a == "--at") {
      if (!hasValue || !parseNumber(argv[++i], o.at)) {
        error = "obelisk: --at needs a time in seconds";
        return false;
      }
      o.atGiven = true;
    } else if (a == "--seek") {
      if (!hasValue || !parseNumber(argv[++i], o.seek) || o.seek < 0 || o.seek > DemoEnd) {
        error = "obelisk: --seek needs a demo time from 0 to 455.5 s";
        return false;
      }
      o.skipDialog = true;
    } else if (a == "--watch") {
      o.watch = true;
    } else if (a == "--author") {
      o.author = o.watch = true;
    } else if (a == "--headless") {
      o.headless = o.skipDialog = true;
    } else if (a == "--gl-debug") {
      o.glDebug = true;
    } else if (a == "--bench") {
      o.bench = o.skipDialog = true;
    } else {
      error = "obelisk: unknown option " + a + " (try --help)";
      return false;
    }
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
