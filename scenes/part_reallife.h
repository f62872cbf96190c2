// part_reallife.h -- section 2 of the chain. The bird scene; hands over at 69 s.
#pragma once
#include "driver/framestate.h"
#include "driver/parts.h"

class part_reallife : public parts {
public:
  FrameState frame;            // copy of the driver's record, written back at the end of a drawn frame
  rendercontext* rc = nullptr;
  double t = 0.0;               // the section's own clock

  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;
  void setClock(double clock) override { t = clock; }
};
