// part_mantis.cpp -- the mantis section (stand-in: clock, step scaling and
// hand-over as the scene has them; the pictures come later).
#include "scenes/part_mantis.h"

#include "scenes/standin.h"

static const double HandOver = 97.7;  // hands over to the end, without the flag

void part_mantis::load(rendercontext* context) { loadStandIn(this, context); }

bool part_mantis::advance(double* step) {
  *step *= 1.05 * 0.915 * 0.968;  // on every call: the end section always runs at this pace
  if (!current()) return false;
  t += *step;
  // no flag: the end section, next in the chain, already draws in this frame
  if (t > HandOver) handOver(false);
  return true;
}

void part_mantis::render(double*) { drawClearedFrame(rc); }
