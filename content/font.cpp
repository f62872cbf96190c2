// font.cpp -- FreeType glyph rendering with kerning and tracking.
#include "content/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <filesystem>

static std::string besideFolder;  // "fonts/" beside the generator; empty when it has none

void fontFolderBeside(const char* program) {
  std::filesystem::path folder = std::filesystem::path(program).parent_path() / "fonts";
  std::error_code e;
  besideFolder = std::filesystem::is_directory(folder, e) ? folder.generic_string() + "/" : "";
}

std::string fontPath(const std::string& file) {
  std::error_code e;
  if (!besideFolder.empty() && std::filesystem::exists(besideFolder + file, e)) return besideFolder + file;
  return std::string(FontFolder) + file;
}

static FT_Face asFace(void* f) { return static_cast<FT_Face>(f); }

fontFace::fontFace(const std::string& file, int pixelSize) {
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) return;
  library = lib;
  FT_Face f = nullptr;
  if (FT_New_Face(lib, fontPath(file).c_str(), 0, &f) != 0) return;
  FT_Set_Pixel_Sizes(f, 0, FT_UInt(pixelSize));
  face = f;
}

fontFace::~fontFace() {
  if (face) FT_Done_Face(asFace(face));
  if (library) FT_Done_FreeType(static_cast<FT_Library>(library));
}

// The pair adjustment between two glyphs, in pixels (0 for the first glyph).
static float kerning(FT_Face f, FT_UInt prev, FT_UInt g) {
  if (!prev || !FT_HAS_KERNING(f)) return 0;
  FT_Vector k;
  FT_Get_Kerning(f, prev, g, FT_KERNING_DEFAULT, &k);
  return float(k.x) / 64.0f;
}

float fontFace::measure(const std::string& text, float tracking) const {
  if (!face) return 0;
  FT_Face f = asFace(face);
  float x = 0;
  FT_UInt prev = 0;
  for (unsigned char c : text) {
    FT_UInt g = FT_Get_Char_Index(f, c);
    x += kerning(f, prev, g);
    if (FT_Load_Glyph(f, g, FT_LOAD_DEFAULT) == 0) x += float(f->glyph->advance.x) / 64.0f + tracking;
    prev = g;
  }
  return x - tracking;
}

void fontFace::draw(plane& p, const std::string& text, float x, float y, float tracking, float weight) const {
  if (!face) return;
  FT_Face f = asFace(face);
  FT_UInt prev = 0;
  for (unsigned char c : text) {
    FT_UInt g = FT_Get_Char_Index(f, c);
    x += kerning(f, prev, g);
    prev = g;
    if (FT_Load_Glyph(f, g, FT_LOAD_DEFAULT) != 0 || FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
    const FT_Bitmap& bm = f->glyph->bitmap;
    int left = int(std::lround(x)) + f->glyph->bitmap_left, top = int(std::lround(y)) - f->glyph->bitmap_top;
    for (unsigned row = 0; row < bm.rows; ++row)
      for (unsigned col = 0; col < bm.width; ++col) {
        int px = left + int(col), py = top + int(row);
        if (px < 0 || py < 0 || px >= p.width || py >= p.height) continue;
        p.at(px, py) += weight * float(bm.buffer[row * unsigned(bm.pitch) + col]) / 255.0f;
      }
    x += float(f->glyph->advance.x) / 64.0f + tracking;
  }
}

float fontFace::capHeight() const {
  if (!face) return 0;
  FT_Face f = asFace(face);
  if (FT_Load_Char(f, 'H', FT_LOAD_DEFAULT) != 0) return 0;
  return float(f->glyph->metrics.horiBearingY) / 64.0f;
}
