// part_intro.cpp -- the intro section (stand-in: clock, step scaling and
// hand-over as the scene has them; the pictures come later).
#include "scenes/part_intro.h"

#include "scenes/standin.h"

#include "scenes/timing.h"

static const double HandOver = 171.0;  // hands over to the bird scene

void part_intro::load(rendercontext* context) { loadStandIn(this, context); }

bool part_intro::advance(double* step) {
  if (!current()) return false;
  // the opening runs slower, then catches up; a brief near-stop at 51 s
  if (t < 18) *step *= 0.84;
  if (t > 18 && t < 36) *step *= 1.1785714285714286;
  *step *= 1 - 0.9 * (ease(0.9 * (t - 51)) - ease(0.9 * (t - 52)));
  if (t < 40) *step *= 1.12;
  if (t < 5) *step *= 1.05;
  if (t > HandOver) handOver(true);
  t += *step;
  // the particle pass speeds up the last seconds; later sections see it too
  if (t > 164) *step *= 1.1;
  if (t > 168) *step *= 1.2;
  return true;
}

void part_intro::render(double*) { drawClearedFrame(rc); }
