// bvh_fuzz.cpp -- libFuzzer target: any text through the BVH state machine,
// then the figure posed from the result at a few frame positions.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "geom/body.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto s = std::make_unique<skeleton>();
  s->parseText(std::string_view(reinterpret_cast<const char*>(data), size));
  body figure(std::move(s));
  for (float position : {1.0f, 1.5f, 13.5f, -2.75f, 3e9f}) {
    figure.framePosition = position;
    figure.pose(nullptr, nullptr);
    if (figure.matrixStack.size() != 1) std::abort();
    figure.advance();
  }
  return 0;
}
