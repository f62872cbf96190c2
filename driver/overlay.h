// overlay.h -- the authoring overlay (H with --author), drawn over the
// finished frame: demo time, the current section's name and own clock,
// frames a second, and a strip of the last frame times. Its text is set in
// the baked font image "textures/overlay_font.jpg".
#pragma once
#include <string>
#include <vector>

class rendercontext;

constexpr int OverlayFrames = 120;  // frame times in the strip

struct overlayState {
  bool loaded = false, shown = false;
  float frameMs[OverlayFrames] = {};  // wall time of the last frames, oldest first from `next`
  int next = 0, counted = 0;
  double lastWall = -1;               // wall clock of the last frame, seconds
};
extern overlayState overlay;

void overlayLoad(rendercontext* rc);
// Notes one frame at wall time `wall` (seconds).
void overlayNoteFrame(double wall);
// Frames a second over the strip; 0 before two frames.
double overlayRate();
// The text lines and the strip, over the window's framebuffer; every piece
// of state it changes is put back.
void overlayDraw(rendercontext* rc, const std::vector<std::string>& lines);
