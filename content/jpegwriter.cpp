// jpegwriter.cpp -- libjpeg-turbo encoder with fixed, reproducible settings.
#include "content/jpegwriter.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct errorTrap {
  jpeg_error_mgr base;
  jmp_buf escape;
};

void onJpegError(j_common_ptr info) {
  errorTrap* trap = reinterpret_cast<errorTrap*>(info->err);
  longjmp(trap->escape, 1);
}

}  // namespace

bool writeJpeg(const std::string& path, int width, int height, const uint8_t* rgb, int quality) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct info;
  errorTrap trap;
  info.err = jpeg_std_error(&trap.base);
  trap.base.error_exit = onJpegError;
  if (setjmp(trap.escape)) {
    jpeg_destroy_compress(&info);
    std::fclose(f);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, f);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.dct_method = JDCT_ISLOW;
  info.optimize_coding = TRUE;
  // Full-resolution chroma: the images are thin light lines on black.
  for (int c = 0; c < 3; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb + size_t(info.next_scanline) * size_t(width) * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(f) == 0;
}
