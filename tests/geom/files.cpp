#include "tests/geom/files.h"

#include <gtest/gtest.h>

#include <fstream>

std::string writeTestFile(const std::string& name, const std::string& text) {
  std::string path = ::testing::TempDir() + "geom_" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}
