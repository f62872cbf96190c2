// jpegdecode.cpp -- libjpeg-turbo decoding into bottom-up RGBX rows.
#include "gfx/jpegdecode.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// jump back to the decode call instead of ending the process.
struct jumpingErrors {
  jpeg_error_mgr base;
  std::jmp_buf back;
};

void errorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<jumpingErrors*>(info->err)->back, 1);
}

void silentMessage(j_common_ptr) {}

// Decodes an opened file. Only trivially destructible objects live in this
// frame, so the jump out of libjpeg skips no destructor.
bool decodeStream(std::FILE* file, std::vector<unsigned char>& rgbx, int& width, int& height) {
  jpeg_decompress_struct info;
  jumpingErrors errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = errorExit;
  errors.base.output_message = silentMessage;
  if (setjmp(errors.back)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  // Colour and greyscale alike come out as R, G, B and a filler byte.
  info.out_color_space = JCS_EXT_RGBX;
  jpeg_start_decompress(&info);
  width = int(info.output_width);
  height = int(info.output_height);
  rgbx.assign(size_t(width) * height * 4, 0);
  while (info.output_scanline < info.output_height) {
    // Row k from the top is stored as row height - 1 - k.
    JSAMPROW row = &rgbx[size_t(height - 1 - int(info.output_scanline)) * width * 4];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

jpegStatus decodeJpg(const std::string& fileName, std::vector<unsigned char>& rgbx, int& width, int& height) {
  rgbx.clear();
  width = height = 0;
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) return jpegStatus::cannotOpen;
  bool decoded = decodeStream(file, rgbx, width, height);
  std::fclose(file);
  if (decoded) return jpegStatus::ok;
  rgbx.clear();
  rgbx.shrink_to_fit();
  width = height = 0;
  return jpegStatus::decodeError;
}

bool decodeJpgFile(const std::string& fileName, std::vector<unsigned char>& rgbx, int& width, int& height) {
  return decodeJpg(fileName, rgbx, width, height) == jpegStatus::ok;
}
