// readfile.cpp -- whole files into memory.
#include "geom/readfile.h"

#include <cstdio>

#include "platform/files.h"

bool readWholeFile(const std::string& path, std::string& text) {
  text.clear();
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  long long size = platformFileSize(path);
  if (size >= 0) {
    text.reserve(size_t(size));
    char buf[65536];
    for (size_t got; (got = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, got);
  }
  std::fclose(f);
  return true;
}

std::string_view skipByteOrderMark(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text;
}
