// process_win32.cpp -- the process, its clock, sleep, console and stop
// signals on Windows.
#include "platform/platform.h"

#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

bool platformInteractive = true;

std::string platformExecutableDir() {
  char path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return "";
  std::string s(path, n);
  for (char& c : s)
    if (c == '\\') c = '/';
  size_t slash = s.rfind('/');
  return slash == std::string::npos ? "" : s.substr(0, slash);
}

static double fileTimeSeconds(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return double(v.QuadPart) * 1e-7;  // 100-ns steps
}

double platformSecondsSinceLaunch() {
  FILETIME created, exited, kernel, user, now;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0.0;
  GetSystemTimeAsFileTime(&now);
  double age = fileTimeSeconds(now) - fileTimeSeconds(created);
  return age > 0 ? age : 0.0;
}

void platformPinBackends() {}  // one windowing system

bool platformHasDisplay() { return true; }

void platformGoHeadless() {
  // Windows has no off-screen GL surface of its own: the window exists but
  // is never shown.
  platformHiddenWindow = true;
  if (!std::getenv("SDL_AUDIODRIVER")) _putenv_s("SDL_AUDIODRIVER", "dummy");
}

std::string platformUserCacheDir() {
  const char* local = std::getenv("LOCALAPPDATA");
  if (!local || !*local) return "";
  std::string s = local;
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

// Ctrl+C and Ctrl+Break stand for the interrupt, closing the console, logging
// off and shutting down for the termination request: the program ends
// itself as it does on those signals elsewhere.
static volatile LONG stopSignal = 0;

static BOOL WINAPI onConsoleEvent(DWORD event) {
  LONG sig = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? SIGINT : SIGTERM;
  InterlockedCompareExchange(&stopSignal, sig, 0);
  // closing the console gives the process a few seconds: wait for the main
  // thread to finish what it writes
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) Sleep(4000);
  return TRUE;
}

void platformCatchStopSignals() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

int platformStopSignal() { return int(stopSignal); }

const char* platformSignalName(int sig) {
  switch (sig) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case 1: return "SIGHUP";
    default: return "a signal";
  }
}

uint64_t platformSystemCounter() {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return uint64_t(c.QuadPart);
}

uint64_t platformCounterFrequency() {
  LARGE_INTEGER f;
  if (!QueryPerformanceFrequency(&f) || f.QuadPart <= 0) return 1000;
  return uint64_t(f.QuadPart);
}

void platformSleep(unsigned milliseconds) { Sleep(milliseconds); }

// A program started from a command prompt writes into that prompt's
// console; one started otherwise gets a console of its own, 1000 lines
// deep. Streams already redirected (to a file or a pipe) stay where they go.
void platformOpenConsole() {
  bool redirected = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN &&
                    GetStdHandle(STD_OUTPUT_HANDLE) != nullptr;
  if (!redirected) {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
      AllocConsole();
      CONSOLE_SCREEN_BUFFER_INFO info;
      HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
      if (GetConsoleScreenBufferInfo(out, &info)) {
        info.dwSize.Y = 1000;
        SetConsoleScreenBufferSize(out, info.dwSize);
      }
    }
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONIN$", "r", stdin);
    std::freopen("CONOUT$", "w", stderr);
  }
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::setvbuf(stdin, nullptr, _IONBF, 0);
  std::setvbuf(stderr, nullptr, _IONBF, 0);
}
