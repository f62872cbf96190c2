// platform.h -- the platform layer: what the shell asks of the operating
// system, on SDL2 (window, GL context, events, message boxes, clipboard,
// display modes on Linux) on both systems; the settings dialog, display modes,
// clock, console and signals of each system in its own folder: linux/ (GTK 3
// for the dialog, loaded when it opens) and windows/ (dialog resource 101).
// The files and programs the program touches: files.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// ---- process ----------------------------------------------------------------
// False when nobody can answer a message box (an option was given, or there is
// no display): message boxes then print their text to standard error and to
// the log instead of waiting, and questions take their first answer.
extern bool platformInteractive;

// The folder of the running program's file; empty when unknown.
std::string platformExecutableDir();

// Seconds since the process was started (10 ms resolution; 0 when unknown).
double platformSecondsSinceLaunch();

// Pins GTK and SDL to the same windowing back end; call before anything else.
void platformPinBackends();
// Whether there is a desktop to show windows on.
bool platformHasDisplay();
// Renders without a desktop: an off-screen surface (EGL) on Linux, a window
// that is never shown on Windows; a live run plays to a silent output unless
// the environment names an audio driver. Call before the window is made.
void platformGoHeadless();
extern bool platformHiddenWindow;  // platformShowWindow leaves it hidden
// The folder for data the program may remake: ~/.cache (XDG_CACHE_HOME) or
// %LOCALAPPDATA%; empty when unknown.
std::string platformUserCacheDir();

// From this call on, SIGINT, SIGTERM and SIGHUP no longer end the process
// (nor become SDL's quit event): the first one's number is kept for the
// program to end itself properly, with 128 + that number.
void platformCatchStopSignals();
int platformStopSignal();  // 0 while none has come
const char* platformSignalName(int sig);  // "SIGTERM"

// ---- clock, sleep, console ----------------------------------------------------
uint64_t platformCounter();           // monotonic high-resolution counter, ticks
uint64_t platformCounterFrequency();  // ticks per second, never 0
// The silent clock of offline capture, benchmarks and tests: once manual, the
// counter stands still except when advanced (the silent audio back end
// follows the same counter).
void platformCounterManual(bool manual);
void platformCounterAdvance(double seconds);
uint64_t platformSystemCounter();     // the system's own counter, never manual (a back end's)
void platformSleep(unsigned milliseconds);
void platformOpenConsole();           // the terminal is the console: unbuffered C streams

// ---- display modes and the settings dialog --------------------------------------
struct displayMode {
  int width, height;
};
// The modes of display 0 in the order the system lists them (duplicates
// included); empty when there is no display.
std::vector<displayMode> platformDisplayModes();

struct settingsChoice {
  bool run = false;  // false: "Quit" or the dialog was closed
  int selected = -1;  // index into the entries
  bool antialiased = true, windowed = false, fpsClamp = false;
};
// Loads the dialog's toolkit (GTK 3) on first call; false when it is missing,
// with the loader's reason in platformDialogToolkitFailure.
bool platformLoadDialogToolkit();
std::string platformDialogToolkitFailure();
// Shows the modal settings dialog; entries are the resolution list's texts.
settingsChoice platformSettingsDialog(const std::string& caption, const std::vector<std::string>& entries,
                                      int defaultSelection);

// ---- message boxes and clipboard ---------------------------------------------------
enum class boxIcon { exclamation, stop, information };
void platformMessageBox(const char* text, const char* title, boxIcon icon);
bool platformAskYesNo(const char* text, const char* title);  // true on Yes
bool platformSetClipboard(const char* text);

// ---- window, GL context and events -------------------------------------------------
bool platformVideoInit();
// True when the display offers exactly this full-screen mode.
bool platformHasFullscreenMode(int width, int height);
bool platformCreateWindow(const char* title, int width, int height, bool fullscreen);
void platformDebugContext(bool debug);  // the next context reports through KHR_debug
bool platformCreateContext();   // OpenGL 4.3 compatibility, double-buffered RGBA, 24-bit depth
bool platformMakeCurrent();
void platformShowWindow();      // show, raise, focus
void platformSwapBuffers();
// 1: a swap waits for the display's refresh, 0: it does not. Returns the
// setting it replaces (the driver's own default on the first call).
int platformSetSwapInterval(int interval);
void platformShowCursor(bool show);
void platformRestoreDisplayMode();
bool platformReleaseContext();  // make no context current, then delete it; false on failure
bool platformHasContext();
bool platformHasWindow();
void platformDestroyWindow();
void platformClientSize(int& width, int& height);
// Keeps the window answering the desktop during long work without handing
// any event to the program.
void platformPumpEvents();

// The window messages the shell handles, with the meaning of their
// Windows counterparts; wParam and lParam carry the same values.
enum class msgType {
  none, quit, activate, sysCommand, close, keyDown, keyUp, size, character,
  middleButtonUp, mouseMove, other
};
constexpr int SysCommandScreenSave = 0xF140;
constexpr int SysCommandMonitorPower = 0xF170;
struct windowMessage {
  msgType type = msgType::none;
  uint32_t wParam = 0;  // key: virtual-key code; activate: high word = minimised
  uint32_t lParam = 0;  // size: width in the low word, height in the high word; key down: KeyShift
};
constexpr uint32_t KeyShift = 1;  // a key-down message's lParam: Shift was held
// The activation message's wParam for a change of the window: the low word
// is 1 when it becomes the active window, the high word 1 while it is
// minimised (a focus change while minimised keeps it minimised).
enum class windowChange { minimised, restored, focusGained, focusLost };
uint32_t platformActivation(windowChange change);
// Takes the next message without waiting; false when the queue is empty.
bool platformPeekMessage(windowMessage& msg);
void platformPostQuit(int code);  // the next peek returns a quit message with this code
int platformQuitCode();
