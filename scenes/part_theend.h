// part_theend.h -- section 5 of the chain. The closing logo; ends the chain at 20 s.
#pragma once
#include "driver/framestate.h"
#include "driver/parts.h"

class part_theend : public parts {
public:
  FrameState frame;            // copy of the driver's record, written back at the end of a drawn frame
  rendercontext* rc = nullptr;
  double t = 0.0;               // the section's own clock

  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;
  void setClock(double clock) override { t = clock; }
};
