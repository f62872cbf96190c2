// part_start.h -- section 0 of the chain. The title scene: the obelisk cloud and the title cards; hands over at 27 s.
#pragma once
#include "driver/framestate.h"
#include "driver/parts.h"

class part_start : public parts {
public:
  FrameState frame;            // copy of the driver's record, written back at the end of a drawn frame
  rendercontext* rc = nullptr;
  double t = -13.5;               // the section's own clock

  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;
  void setClock(double clock) override { t = clock; }
};
