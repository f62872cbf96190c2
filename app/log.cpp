// log.cpp -- the log file behind std::cout, and the console.
#include <fstream>
#include <iostream>

#include "app/app.h"

// Never destroyed: whatever the process writes while it ends finds a live
// buffer (closeLog puts the console's back first).
static std::ofstream& logFile = *new std::ofstream;
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
