// part_theend.cpp -- the closing section (stand-in: clock, step scaling and
// hand-over as the scene has them; the pictures come later).
#include "scenes/part_theend.h"

#include "scenes/timing.h"

static const double HandOver = 20.0;  // nothing follows: part number 6

void part_theend::load(rendercontext* context) { loadStandIn(this, context, "PART_THEEND", 0.0); }

void part_theend::draw(double* step, rendercontext* context, FrameState* state) {
  copyIn(context, state);
  if (frame.partNumber != 5) return;
  *step *= 0.91;
  if (t > 14) *step *= 1 + 0.18 * ease(t - 14);
  t += *step;
  if (t > HandOver) frame.partNumber = 6;
  if (loaded) drawClearedFrame(context);
  writeBack(state);
}
