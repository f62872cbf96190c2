// route_text.cpp -- the text route reader: a count, then that many
// whitespace-separated points.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "geom/readfile.h"
#include "scenes/route.h"

// Numbers as the C scanner's %d and %f read them: leading whitespace (any
// line end among it) skipped, then the longest number the text holds. The
// count saturates instead of overflowing.
static bool scanCount(const char*& p, int& out) {
  char* after = nullptr;
  long v = std::strtol(p, &after, 10);
  if (after == p) return false;
  out = int(std::min(std::max(v, long(INT_MIN)), long(INT_MAX)));
  p = after;
  return true;
}

static bool scanFloat(const char*& p, float& out) {
  char* after = nullptr;
  float v = std::strtof(p, &after);
  if (after == p) return false;
  out = v;
  p = after;
  return true;
}

void readTextRoute(route& r, const char* name) {
  r.points.clear();
  r.valuesA.clear();
  r.valuesB.clear();
  r.count = 0;
  r.degree = 3;
  r.offset = 0;
  std::string text;
  if (!readWholeFile(name, text)) return;
  // The scanner stops at the first NUL byte, as the file reader did.
  const char* p = skipByteOrderMark(text).data();
  int n = 0;
  if (scanCount(p, n)) {
    for (int i = 0; i < n; ++i) {
      float x, y, z;
      if (!scanFloat(p, x) || !scanFloat(p, y) || !scanFloat(p, z)) break;
      r.points.push_back(vec3(x, y, z));
    }
  }
  r.count = int(r.points.size());
}
