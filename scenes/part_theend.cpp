// part_theend.cpp -- the closing section (stand-in: clock, step scaling and
// hand-over as the scene has them; the pictures come later).
#include "scenes/part_theend.h"

#include "scenes/standin.h"

#include "scenes/timing.h"

static const double HandOver = 20.0;  // nothing follows: part number 6

void part_theend::load(rendercontext* context) { loadStandIn(this, context); }

bool part_theend::advance(double* step) {
  if (!current()) return false;
  *step *= 0.91;
  if (t > 14) *step *= 1 + 0.18 * ease(t - 14);
  t += *step;
  if (t > HandOver) handOver(false);  // nothing follows: part number 6
  return true;
}

void part_theend::render(double*) { drawClearedFrame(rc); }
