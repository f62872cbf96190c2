// app.h -- the application shell: settings, the window and its messages, the
// log, the console and the clock. Process-wide state lives in these globals.
#pragma once
#include <string>
#include <vector>

#include "driver/clock.h"
#include "driver/driver.h"
#include "platform/platform.h"

// ---- settings: filled by the dialog or the options, read by start-up -------------------
// The auxiliary size equals the screen size once chosen; fullscreen turns
// false when a refused mode change is answered with windowed mode.
extern demoSettings chosen;

// ---- shell state (the key table and the closing fade are the driver's) --------------
extern bool windowActive;              // frames are drawn only while true
extern std::string debugText;          // goes to the clipboard at the end through Escape

// ---- settings dialog -------------------------------------------------------------
extern std::vector<displayMode> modeList;
void enumDisplayModes();                               // fills modeList from display 0
void filterDisplayModes(const std::vector<displayMode>& all, std::vector<displayMode>& out);
std::string formatMode(int w, int h);                  // the resolution list's text
int defaultModeIndex(const std::vector<displayMode>& modes);  // -1 when empty
void settingsDialog();                                 // modal; "Quit" ends the process (code 0)

// ---- window and context ---------------------------------------------------------------
bool createGLWindow(const char* title, int width, int height, int bits, bool fullscreenRequest);
void killGLWindow();
void resizeGLScene(int width, int height);
bool initGL();
int glLargestTarget();  // the largest side a render target may have here
int windowProc(const windowMessage& msg);
bool copyToClipboard(const std::string& text);
void authoringStep(const windowMessage& msg);  // run for every message windowProc does not answer
// With --author: a key the transport answers; false for any other.
bool transportKey(uint32_t key, bool shift);

// ---- the run -----------------------------------------------------------------------------
// The whole program: options, settings, log, window, start-up, the loop of
// frames, shutdown. Returns the exit code.
int runObelisk(int argc, char** argv);
// Finds the data folder, bakes it first when the program is an unpacked
// release run for the first time, and makes it the working folder. False
// with the reason in error.
bool findDataFolder(std::string& folder, std::string& error);
// The one way out: ends a capture, closes the audio, deletes the start
// section, restores the display mode, destroys the window and closes the
// log. Safe to repeat; returns code.
int shutdownProduction(int code);
// Shutdown, then the process ends with code (a JPEG the production needs
// could not be read while loading).
[[noreturn]] void abandonProduction(int code);

// ---- log and console ---------------------------------------------------------------
void openLog();    // "log//Mylog.txt" becomes the buffer of std::cout
void closeLog();   // puts the old buffer back, then closes the file
void openConsole();
