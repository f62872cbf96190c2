// part_thecity.cpp -- the city section (stand-in: clock, step scaling and
// hand-over as the scene has them; the pictures come later).
#include "scenes/part_thecity.h"

#include "scenes/standin.h"

#include "scenes/timing.h"

static const double HandOver = 76.0;  // hands over to the mantis

void part_thecity::load(rendercontext* context) { loadStandIn(this, context); }

bool part_thecity::advance(double* step) {
  if (!current()) return false;
  *step *= 1.07;
  *step *= 1 + 0.12 * ease(t - 54);
  *step *= 1 - 0.05 * ease(t - 68);
  t += *step;
  if (t > HandOver) handOver(true);
  return true;
}

void part_thecity::render(double*) { drawClearedFrame(rc); }
