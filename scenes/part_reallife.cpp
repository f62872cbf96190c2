// part_reallife.cpp -- the bird scene (stand-in: clock, step scaling and
// hand-over as the scene has them; the pictures come later).
#include "scenes/part_reallife.h"
static const double HandOver = 69.0;  // hands over to the city

void part_reallife::load(rendercontext* context) { loadStandIn(this, context, "PART_REALLIFE", 0.0); }

void part_reallife::draw(double* step, rendercontext* context, FrameState* state) {
  copyIn(context, state);
  *step *= 1.07;  // on every call: every later section of the frame runs faster too
  if (frame.partNumber != 2) return;
  *step *= 1.05;
  t += *step;
  if (t > HandOver) {
    frame.partNumber = 3;
    frame.switched = true;
  }
  if (loaded) drawClearedFrame(context);
  writeBack(state);
}
