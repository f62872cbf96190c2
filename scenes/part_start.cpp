// part_start.cpp -- the title scene (stand-in: clock, step scaling and
// hand-over as the scene has them; the pictures come later).
#include "scenes/part_start.h"

#include <iostream>

#include "gfx/rendercontext.h"
#include "scenes/standin.h"
#include "scenes/timing.h"

static const double HandOver = 27.0;  // hands over to the intro

void part_start::load(rendercontext* context) {
  loaded = true;
  std::cout << "\n\n================= PART_START ============== " << std::endl;
  rc = context;
  t = -13.5;
}

void part_start::draw(double* step, rendercontext* context, FrameState* state) {
  if (context) context->frame = state;
  frame = *state;
  if (frame.partNumber != 0) return;
  if (t > 14) *step *= 1 + 0.18 * ease(t - 14);  // up to 18 % faster after the 14th second
  t += *step;
  if (t > HandOver) {
    frame.partNumber = 1;
    frame.switched = true;
  }
  if (loaded) drawClearedFrame(context);
  frame.values[0] = t;
  *state = frame;
}
