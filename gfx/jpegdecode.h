// jpegdecode.h -- JPEG files to pixel rows, free of GL. Rows are 4 bytes per
// pixel (R, G, B, and a fourth byte that carries nothing) and stored bottom-up:
// row 0 of the buffer is the last row of the file. Greyscale images come out
// as colour (the grey value repeated).
#pragma once
#include <string>
#include <vector>

enum class jpegStatus { ok, cannotOpen, decodeError };

jpegStatus decodeJpg(const std::string& fileName, std::vector<unsigned char>& rgbx, int& width, int& height);

// True on success; on failure the buffer is empty and the sizes are 0.
bool decodeJpgFile(const std::string& fileName, std::vector<unsigned char>& rgbx, int& width, int& height);
