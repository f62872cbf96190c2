// strokeframe_fuzz.cpp -- libFuzzer target: any bytes as a stroke frame
// (a stroke count, then per stroke a point count and 6-byte points). The
// strokes read must fit in the bytes that were there.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/memfile.h"
#include "scenes/route.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static memFile file;
  std::vector<route> strokes;
  readStrokeFrame(file.holding(data, size), strokes);
  size_t used = strokes.empty() ? 0 : 4;
  for (const route& s : strokes) {
    if (s.count != int(s.points.size())) std::abort();
    used += 4 + s.points.size() * 6;
  }
  if (used > size) std::abort();
  return 0;
}
