// part_intro.h -- section 1 of the chain. The long morphing opening; hands over at its 171st second.
#pragma once
#include "driver/framestate.h"
#include "driver/parts.h"

class part_intro : public parts {
public:
  FrameState frame;            // copy of the driver's record, written back at the end of a drawn frame
  rendercontext* rc = nullptr;
  double t = 0.0;               // the section's own clock

  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;
  void setClock(double clock) override { t = clock; }
};
