// textroute_fuzz.cpp -- libFuzzer target: any text as a text route (a count,
// then triples), then resampled and evaluated along the curve.
#include <cstdint>
#include <cstdlib>

#include "fuzz/memfile.h"
#include "scenes/route.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static memFile file;
  route r;
  readTextRoute(r, file.holding(data, size));
  if (r.count != int(r.points.size()) || size_t(r.count) > size / 2) std::abort();
  vec3 p;
  for (float u : {0.0f, 0.5f, 2.25f, -1.0f, 1e20f})
    evaluate(r, u, p);
  route closed = r;
  closed.closed = true;
  evaluate(closed, -7.5f, p);
  resample(r, 16, 3);
  resample(closed, 9, 1);
  return 0;
}
