// jpegdecode.cpp -- libjpeg-turbo decoding into bottom-up RGBX rows.
#include "gfx/jpegdecode.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// jump back to the decode call instead of ending the process. Corrupt-data
// warnings (emit_message at level -1) let the decoding go on, libjpeg
// filling in what it could not read; the first one is kept for the caller.
struct jumpingErrors {
  jpeg_error_mgr base;
  std::jmp_buf back;
  char reason[JMSG_LENGTH_MAX];
  char warning[JMSG_LENGTH_MAX];
};

[[noreturn]] void reject(j_common_ptr info) {
  jumpingErrors* errors = reinterpret_cast<jumpingErrors*>(info->err);
  errors->base.format_message(info, errors->reason);
  std::longjmp(errors->back, 1);
}

void errorExit(j_common_ptr info) { reject(info); }

// Levels 0 and up are trace messages, which stay silent.
void emitMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  jumpingErrors* errors = reinterpret_cast<jumpingErrors*>(info->err);
  if (errors->base.num_warnings++ == 0) errors->base.format_message(info, errors->warning);
}

void silentMessage(j_common_ptr) {}

bool fitsATexture(const jpeg_decompress_struct& info) {
  return info.image_width <= MaxJpegSide && info.image_height <= MaxJpegSide &&
         (unsigned long)info.image_width * info.image_height <= MaxJpegPixels;
}

// Rows arrive from the top; the texture wants the bottom row first.
void flipRows(std::vector<unsigned char>& rows, size_t stride) {
  size_t count = stride ? rows.size() / stride : 0;
  for (size_t top = 0; top + 1 < count - top; ++top)
    std::swap_ranges(rows.begin() + top * stride, rows.begin() + (top + 1) * stride,
                     rows.begin() + (count - 1 - top) * stride);
}

// Decodes an opened file. Only trivially destructible objects live in this
// frame, so the jump out of libjpeg skips no destructor. Rows are appended
// as they decode, so a damaged file that claims a large image fails before
// it has cost the whole image's memory.
bool decodeStream(std::FILE* file, std::vector<unsigned char>& rgbx, int& width, int& height,
                  std::string& reason, std::string& warning) {
  jpeg_decompress_struct info;
  jumpingErrors errors;
  errors.warning[0] = 0;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = errorExit;
  errors.base.emit_message = emitMessage;
  errors.base.output_message = silentMessage;
  if (setjmp(errors.back)) {
    jpeg_destroy_decompress(&info);
    reason = errors.reason;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  if (!fitsATexture(info)) {
    std::snprintf(errors.reason, sizeof errors.reason, "image of %u x %u pixels is larger than a texture can be",
                  unsigned(info.image_width), unsigned(info.image_height));
    std::longjmp(errors.back, 1);
  }
  // Colour and greyscale alike come out as R, G, B and a filler byte.
  info.out_color_space = JCS_EXT_RGBX;
  jpeg_start_decompress(&info);
  size_t stride = size_t(info.output_width) * 4;
  rgbx.reserve(stride * info.output_height);  // address space only until rows arrive
  while (info.output_scanline < info.output_height) {
    rgbx.resize(rgbx.size() + stride);
    JSAMPROW row = &rgbx[rgbx.size() - stride];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  width = int(info.output_width);
  height = int(info.output_height);
  jpeg_destroy_decompress(&info);
  flipRows(rgbx, stride);
  warning = errors.warning;
  return true;
}

}  // namespace

jpegStatus decodeJpg(const std::string& fileName, std::vector<unsigned char>& rgbx, int& width, int& height,
                     std::string* reason, std::string* warning) {
  rgbx.clear();
  width = height = 0;
  std::string why, damage;
  jpegStatus status = jpegStatus::ok;
  if (std::FILE* file = std::fopen(fileName.c_str(), "rb")) {
    if (!decodeStream(file, rgbx, width, height, why, damage)) status = jpegStatus::decodeError;
    std::fclose(file);
  } else {
    why = std::strerror(errno);
    status = jpegStatus::cannotOpen;
  }
  if (status != jpegStatus::ok) {
    rgbx.clear();
    rgbx.shrink_to_fit();
    width = height = 0;
  }
  if (reason) *reason = why;
  if (warning) *warning = damage;
  return status;
}

bool decodeJpgFile(const std::string& fileName, std::vector<unsigned char>& rgbx, int& width, int& height) {
  return decodeJpg(fileName, rgbx, width, height) == jpegStatus::ok;
}
