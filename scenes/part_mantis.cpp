// part_mantis.cpp -- the mantis section (stand-in: clock, step scaling and
// hand-over as the scene has them; the pictures come later).
#include "scenes/part_mantis.h"
static const double HandOver = 97.7;  // hands over to the end, without the flag

void part_mantis::load(rendercontext* context) { loadStandIn(this, context, "PART_MANTIS", 0.0); }

void part_mantis::draw(double* step, rendercontext* context, FrameState* state) {
  copyIn(context, state);
  *step *= 1.05 * 0.915 * 0.968;  // on every call: the end section always runs at this pace
  if (frame.partNumber != 4) return;
  t += *step;
  // no flag: the end section, next in the chain, already draws in this frame
  if (t > HandOver) frame.partNumber = 5;
  if (loaded) drawClearedFrame(context);
  writeBack(state);
}
