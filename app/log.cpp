// log.cpp -- the log file behind std::cout, the console and the clock.
#include <fstream>
#include <iostream>

#include "app/app.h"

static std::ofstream logFile;
static std::streambuf* previousBuffer = nullptr;

// A missing "log" folder leaves the stream unopened: every line is dropped
// and the program runs on.
void openLog() {
  logFile.open("log//Mylog.txt", std::ios::out | std::ios::trunc);
  previousBuffer = std::cout.rdbuf(logFile.rdbuf());
}

void closeLog() {
  if (previousBuffer) std::cout.rdbuf(previousBuffer);
  previousBuffer = nullptr;
  if (logFile.is_open()) logFile.close();
}

void openConsole() { platformOpenConsole(); }

static uint64_t lastCounter = 0;
static double accumulated = 0.0;

double clockSeconds() {
  uint64_t c = platformCounter();
  accumulated += double(int64_t(c - lastCounter)) / double(platformCounterFrequency());
  lastCounter = c;
  return accumulated;
}

void clockReset() {
  accumulated = 0.0;
  lastCounter = platformCounter();
}
