// log.cpp -- the log file behind std::cout, and the console.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/app.h"

// Never destroyed: whatever the process writes while it ends finds a live
// buffer (closeLog puts the console's back first).
static std::ofstream& logFile = *new std::ofstream;
static std::streambuf* previousBuffer = nullptr;

// A missing "log" folder is made. A log that cannot be written is said once
// on standard error; its lines are then dropped and the program runs on.
void openLog() {
  std::error_code ignored;
  std::filesystem::create_directories("log", ignored);
  logFile.open("log//Mylog.txt", std::ios::out | std::ios::trunc);
  if (!logFile.is_open())
    std::fprintf(stderr, "obelisk: cannot write the log log/Mylog.txt: %s\n", std::strerror(errno));
  previousBuffer = std::cout.rdbuf(logFile.rdbuf());
}

void closeLog() {
  if (previousBuffer) std::cout.rdbuf(previousBuffer);
  previousBuffer = nullptr;
  if (logFile.is_open()) logFile.close();
}

void openConsole() { platformOpenConsole(); }
