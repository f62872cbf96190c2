// app.h -- the application shell: settings, the window and its messages, the
// log, the console and the clock. Process-wide state lives in these globals.
#pragma once
#include <string>
#include <vector>

#include "platform/platform.h"

// ---- settings (chosen in the dialog or by options) ---------------------------------
extern int screenWidth, screenHeight;  // window or full-screen size in pixels
extern int auxWidth, auxHeight;        // equal to the first pair after the dialog
extern bool fullscreen;                // display mode change and pop-up window
extern bool antialiased;               // render targets 0-2 with 2 samples
extern bool fpsClamp;                  // the driver sleeps after every frame
extern bool musicEnabled;              // audio and music-driven behaviour run

// ---- shell state ---------------------------------------------------------------
extern bool windowActive;              // frames are drawn only while true
extern bool keys[256];                 // key-down state by virtual-key code
extern bool finishing;                 // the closing fade has begun
extern double finishTime;              // demo time when finishing became true
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
int windowProc(const windowMessage& msg);
bool copyToClipboard(const std::string& text);
void authoringStep(const windowMessage& msg);  // run for every message windowProc does not answer

// ---- log, console, clock ---------------------------------------------------------------
void openLog();    // "log//Mylog.txt" becomes the buffer of std::cout
void closeLog();   // puts the old buffer back, then closes the file
void openConsole();
double clockSeconds();  // accumulated seconds of the high-resolution counter
void clockReset();
