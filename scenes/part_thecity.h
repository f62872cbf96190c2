// part_thecity.h -- section 3 of the chain. The city with walkers and doves; hands over at 76 s.
#pragma once
#include "driver/framestate.h"
#include "driver/parts.h"

class part_thecity : public parts {
public:
  FrameState frame;            // copy of the driver's record, written back at the end of a drawn frame
  rendercontext* rc = nullptr;
  double t = 0.0;               // the section's own clock

  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;
  void setClock(double clock) override { t = clock; }
};
