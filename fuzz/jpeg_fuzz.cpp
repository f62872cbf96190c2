// jpeg_fuzz.cpp -- libFuzzer target: any bytes through the JPEG decoder as
// the texture loaders call it. A success gives the full image within the
// size limits; a failure gives nothing but a reason.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/memfile.h"
#include "gfx/jpegdecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static memFile file;
  std::vector<unsigned char> rgbx;
  int width = -1, height = -1;
  std::string reason;
  jpegStatus status = decodeJpg(file.holding(data, size), rgbx, width, height, &reason);
  if (status == jpegStatus::ok) {
    if (width <= 0 || height <= 0 || unsigned(width) > MaxJpegSide || unsigned(height) > MaxJpegSide) std::abort();
    if (rgbx.size() != size_t(width) * size_t(height) * 4 || !reason.empty()) std::abort();
  } else if (status != jpegStatus::decodeError || !rgbx.empty() || width != 0 || height != 0 || reason.empty()) {
    std::abort();
  }
  return 0;
}
