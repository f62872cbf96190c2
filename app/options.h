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
};
extern options opts;

// Fills opts from the arguments. Returns false with a one-line message in
// error when an option is unknown or its value is bad.
bool parseOptions(int argc, char** argv, options& o, std::string& error);
const char* usageText();
