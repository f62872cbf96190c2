// overlay.cpp -- the authoring overlay (see overlay.h).
#include "driver/overlay.h"

#include <GL/glew.h>

#include "gfx/rendercontext.h"

overlayState overlay;

static const int FontSlot = 5911;  // beside the loading screen's image
static const int CellW = 12, CellH = 16;  // a glyph's cell on screen, pixels: half the image's
static const int Advance = 8;             // from one glyph to the next: the cells overlap, their black adds nothing

void overlayLoad(rendercontext* rc) {
  rc->loadJpg("textures/overlay_font.jpg", FontSlot);
  overlay.loaded = true;
}

void overlayNoteFrame(double wall) {
  if (overlay.lastWall >= 0) {
    overlay.frameMs[overlay.next] = float((wall - overlay.lastWall) * 1000.0);
    overlay.next = (overlay.next + 1) % OverlayFrames;
    if (overlay.counted < OverlayFrames) ++overlay.counted;
  }
  overlay.lastWall = wall;
}

double overlayRate() {
  double sum = 0;
  for (int k = 0; k < overlay.counted; ++k) sum += overlay.frameMs[k];
  return sum > 0 ? 1000.0 * overlay.counted / sum : 0.0;
}

// One line of text from (x, y) down, y counted from the top. The image's
// rows run bottom up in the texture.
static void textLine(const std::string& text, float x, float y) {
  glBegin(GL_QUADS);
  for (char ch : text) {
    int c = (unsigned char)ch;
    if (c < 32 || c > 127) c = '?';
    float u0 = float((c - 32) % 16) / 16, u1 = u0 + 1.0f / 16;
    float v1 = 1 - float((c - 32) / 16) / 6, v0 = v1 - 1.0f / 6;
    glTexCoord2f(u0, v1); glVertex2f(x, y);
    glTexCoord2f(u1, v1); glVertex2f(x + CellW, y);
    glTexCoord2f(u1, v0); glVertex2f(x + CellW, y + CellH);
    glTexCoord2f(u0, v0); glVertex2f(x, y + CellH);
    x += Advance;
  }
  glEnd();
}

static void box(float x0, float y0, float x1, float y1) {
  glBegin(GL_QUADS);
  glVertex2f(x0, y0); glVertex2f(x1, y0); glVertex2f(x1, y1); glVertex2f(x0, y1);
  glEnd();
}

void overlayDraw(rendercontext* rc, const std::vector<std::string>& lines) {
  if (!overlay.loaded) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  for (GLenum mode : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
    glMatrixMode(mode);
    glPushMatrix();
    glLoadIdentity();
  }
  glMatrixMode(GL_PROJECTION);
  glOrtho(0, rc->width, rc->height, 0, -1, 1);  // pixels, y down
  glMatrixMode(GL_MODELVIEW);
  rc->bindWindowFramebuffer();
  glViewport(0, 0, rc->width, rc->height);
  glUseProgram(0);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glDisable(GL_ALPHA_TEST);
  glActiveTexture(GL_TEXTURE0);
  glDisable(GL_TEXTURE_2D);

  size_t widest = 0;
  for (const std::string& l : lines) widest = l.size() > widest ? l.size() : widest;
  const float margin = 8, stripH = 40, top = margin + lines.size() * CellH + 6;
  float right = margin + float(widest) * Advance + (CellW - Advance);
  if (right < margin + 2 * OverlayFrames) right = margin + 2 * OverlayFrames;
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(0, 0, 0, 0.6f);
  box(margin - 4, margin - 4, right + 4, top + stripH + 4);

  // The strip: a bar a frame, 40 pixels for 50 ms, a line at 1/60 s.
  for (int k = 0; k < overlay.counted; ++k) {
    int i = (overlay.next - overlay.counted + k + OverlayFrames) % OverlayFrames;
    float h = overlay.frameMs[i] / 50.0f * stripH;
    h = h > stripH ? stripH : h;
    float x = margin + 2.0f * k;
    if (overlay.frameMs[i] > 1000.0f / 30) glColor4f(1, 0.35f, 0.2f, 1);
    else glColor4f(0.4f, 0.9f, 0.5f, 1);
    box(x, top + stripH - h, x + 1.5f, top + stripH);
  }
  glColor4f(1, 1, 1, 0.5f);
  float y60 = top + stripH - (1000.0f / 60) / 50.0f * stripH;
  box(margin, y60, margin + 2 * OverlayFrames, y60 + 1);

  glEnable(GL_TEXTURE_2D);
  rc->bindTexture(FontSlot);
  glBlendFunc(GL_ONE, GL_ONE);  // the glyphs' grey adds their light
  glColor4f(1, 1, 1, 1);
  for (size_t k = 0; k < lines.size(); ++k) textLine(lines[k], margin, margin + float(k) * CellH);

  for (GLenum mode : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
    glMatrixMode(mode);
    glPopMatrix();
  }
  glPopAttrib();
}
