// shaketrack_fuzz.cpp -- libFuzzer target: any bytes as a shake track
// ("try1.sav", 28-byte records), then sampled the way the start scene does.
// Whatever the records hold, the track must come out finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "fuzz/memfile.h"
#include "scenes/route.h"

static bool finite(const vec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static memFile file;
  route r;
  readShakeTrack(r, file.holding(data, size));
  // A short track (under 20 records) keeps fewer points than values.
  if (r.count != int(r.points.size()) || r.valuesA.size() != r.valuesB.size() ||
      r.points.size() > r.valuesA.size())
    std::abort();
  for (const vec3& p : r.points)
    if (!finite(p)) std::abort();
  for (size_t i = 0; i < r.valuesA.size(); ++i)
    if (!std::isfinite(r.valuesA[i]) || !std::isfinite(r.valuesB[i])) std::abort();
  vec3 p;
  for (double index : {0.0, 1.0, -1.0, 1234.5, -3e9, 3e9})
    if (shakePoint(r, index, p) && !finite(p)) std::abort();
  return 0;
}
