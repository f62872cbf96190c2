// process_posix.cpp -- the process, its clock, sleep, console and stop
// signals on POSIX.
#include "platform/platform.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

bool platformInteractive = true;

std::string platformExecutableDir() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  path[n] = 0;
  std::string s = path;
  size_t slash = s.rfind('/');
  return slash == std::string::npos ? "" : s.substr(0, slash);
}

double platformSecondsSinceLaunch() {
  // field 22 of /proc/self/stat: the start in clock ticks after boot; the
  // command name in parentheses may hold spaces, so count from its end
  FILE* f = std::fopen("/proc/self/stat", "r");
  if (!f) return 0.0;
  char text[1024];
  size_t n = std::fread(text, 1, sizeof text - 1, f);
  std::fclose(f);
  text[n] = 0;
  const char* p = std::strrchr(text, ')');
  if (!p) return 0.0;
  unsigned long long start = 0;
  int field = 2;
  for (++p; *p && field < 22; ++p)
    if (*p == ' ') ++field;
  if (field != 22 || std::sscanf(p, "%llu", &start) != 1) return 0.0;
  long ticks = sysconf(_SC_CLK_TCK);
  timespec now;
  if (ticks <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0) return 0.0;
  double age = double(now.tv_sec) + now.tv_nsec * 1e-9 - double(start) / double(ticks);
  return age > 0 ? age : 0.0;
}

void platformPinBackends() {
  // GTK may pick Wayland while SDL picks X11; the dialog and the window must
  // share one back end, so an X display pins both to X11.
  // With no display at all SDL would fall back to an invisible surface and
  // play to nobody: the window is asked of X11 then, and its failure tells
  // the viewer (off-screen rendering is chosen explicitly).
  bool none = !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
  if ((std::getenv("DISPLAY") || none) && !std::getenv("SDL_VIDEODRIVER")) {
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("GDK_BACKEND", "x11", 1);
  }
}

bool platformHasDisplay() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

void platformGoHeadless() {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
}

std::string platformUserCacheDir() {
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.cache";
  return "";
}

static volatile sig_atomic_t stopSignal = 0;

static void onStopSignal(int sig) {
  if (!stopSignal) stopSignal = sig;
}

// SDL installs its own handlers only where it finds the default one, so
// these stay whichever comes first. Interrupted system calls restart: a
// frame being written is finished.
void platformCatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
}

int platformStopSignal() { return stopSignal; }

const char* platformSignalName(int sig) {
  switch (sig) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "a signal";
  }
}

uint64_t platformSystemCounter() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1000000000ull + uint64_t(ts.tv_nsec);
}

uint64_t platformCounterFrequency() { return 1000000000ull; }

void platformSleep(unsigned milliseconds) {
  timespec ts;
  ts.tv_sec = milliseconds / 1000;
  ts.tv_nsec = long(milliseconds % 1000) * 1000000L;
  while (nanosleep(&ts, &ts) != 0) {
  }
}

// The terminal the program was started from is its console; the C streams
// are made unbuffered so that what goes through them shows at once.
void platformOpenConsole() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::setvbuf(stdin, nullptr, _IONBF, 0);
  std::setvbuf(stderr, nullptr, _IONBF, 0);
}
