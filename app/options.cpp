// options.cpp -- command-line options.
#include "app/options.h"

#include <cstdlib>
#include <cstring>

options opts;

const char* usageText() {
  return "usage: obelisk [options]\n"
         "  --mode WxH      window or full-screen size (skips the dialog)\n"
         "  --windowed      run in a window\n"
         "  --no-aa         no antialiasing\n"
         "  --fps-clamp     cap the frame rate at about 32 frames per second\n"
         "  --frames N      end normally after N drawn frames\n"
         "  --help          this text\n";
}

static bool parseSize(const char* s, int& w, int& h) {
  char* end = nullptr;
  long a = std::strtol(s, &end, 10);
  if (end == s || (*end != 'x' && *end != 'X')) return false;
  const char* rest = end + 1;
  long b = std::strtol(rest, &end, 10);
  if (end == rest || *end != 0 || a < 16 || b < 16 || a > 16384 || b > 16384) return false;
  w = int(a);
  h = int(b);
  return true;
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
        error = "obelisk: --mode needs a size like 1280x720";
        return false;
      }
      o.skipDialog = true;
    } else if (a == "--frames") {
      if (!hasValue || !parseCount(argv[++i], o.frames)) {
        error = "obelisk: --frames needs a count of frames";
        return false;
      }
      o.skipDialog = true;
    } else {
      error = "obelisk: unknown option " + a + " (try --help)";
      return false;
    }
  }
  return true;
}
