// jpegdecode.h -- JPEG files to pixel rows, free of GL. Rows are 4 bytes per
// pixel (R, G, B, and a fourth byte that carries nothing) and stored bottom-up:
// row 0 of the buffer is the last row of the file. Greyscale images come out
// as colour (the grey value repeated).
#pragma once
#include <string>
#include <vector>

enum class jpegStatus { ok, cannotOpen, decodeError };

// The largest image a texture is made from: no side beyond MaxJpegSide and
// no more than MaxJpegPixels in all (256 MiB of rows). A header that claims
// more is damage and is refused before any pixel memory is taken.
constexpr unsigned MaxJpegSide = 16384;
constexpr unsigned long MaxJpegPixels = 64ul << 20;

// Decodes the whole image or nothing. A file the decoder gives up on (not a
// JPEG, no image in it, a header beyond the limits) fails; on failure reason,
// when given, says why in one line: the system's error for a file that cannot
// be opened, else the decoder's message. Damage the decoder steps over (a
// premature end, corrupt entropy codes, stray bytes) still gives the whole
// image, the decoder filling in what it could not read (grey past a cut);
// warning, when given, then holds the decoder's first warning, else it is empty.
jpegStatus decodeJpg(const std::string& fileName, std::vector<unsigned char>& rgbx, int& width, int& height,
                     std::string* reason = nullptr, std::string* warning = nullptr);

// True when there is an image (damaged or not); on failure the buffer is
// empty and the sizes are 0.
bool decodeJpgFile(const std::string& fileName, std::vector<unsigned char>& rgbx, int& width, int& height);
