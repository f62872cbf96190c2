// quietlog.h -- the loaders log a line per load; keep it out of the figures' output.
#pragma once
#include <iostream>
#include <sstream>

struct quietLog {
  std::ostringstream sink;
  std::streambuf* old = std::cout.rdbuf(sink.rdbuf());
  ~quietLog() { std::cout.rdbuf(old); }
};
