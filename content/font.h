// font.h -- text set with FreeType from the Debian DejaVu fonts into a plane.
#pragma once
#include <string>

#include "content/image_canvas.h"

constexpr const char* FontFolder = "/usr/share/fonts/truetype/dejavu/";

// Where a font file is read from: the "fonts" folder beside the generator
// (a release archive carries its own), else the system's DejaVu folder.
// The generator names its own file (argv[0]) once, first thing.
void fontFolderBeside(const char* program);
std::string fontPath(const std::string& file);

// One face at one pixel size. Each recipe opens its own (FreeType libraries
// are not shared between threads).
class fontFace {
public:
  fontFace(const std::string& file, int pixelSize);
  ~fontFace();
  fontFace(const fontFace&) = delete;
  fontFace& operator=(const fontFace&) = delete;
  bool ok() const { return face != nullptr; }
  // Advance width of the text in pixels with extra tracking after each glyph.
  float measure(const std::string& text, float tracking) const;
  // Adds the text's coverage into p, the baseline starting at (x, y).
  void draw(plane& p, const std::string& text, float x, float y, float tracking, float weight) const;
  // Height of a capital letter above the baseline, in pixels.
  float capHeight() const;
private:
  void* library = nullptr;  // FT_Library
  void* face = nullptr;     // FT_Face
};
