// jpegwriter.h -- writes an 8-bit RGB image as a baseline JPEG file.
#pragma once
#include <cstdint>
#include <string>

// rgb holds width * height * 3 bytes, rows from the top. Same pixels, same
// bytes: the encoder runs with fixed settings (integer DCT, no timestamps).
bool writeJpeg(const std::string& path, int width, int height, const uint8_t* rgb, int quality);
