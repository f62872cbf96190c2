// part_reallife.cpp -- the bird scene (stand-in: clock, step scaling and
// hand-over as the scene has them; the pictures come later).
#include "scenes/part_reallife.h"

#include "scenes/standin.h"

static const double HandOver = 69.0;  // hands over to the city

void part_reallife::load(rendercontext* context) { loadStandIn(this, context); }

bool part_reallife::advance(double* step) {
  *step *= 1.07;  // on every call: every later section of the frame runs faster too
  if (!current()) return false;
  *step *= 1.05;
  t += *step;
  if (t > HandOver) handOver(true);
  return true;
}

void part_reallife::render(double*) { drawClearedFrame(rc); }
