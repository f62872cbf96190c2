// part_thecity.h -- section 3 of the chain. The city with walkers and doves; hands over at 76 s.
#pragma once
#include "scenes/scene.h"

class part_thecity : public scene {
public:
  part_thecity() : scene(0.0) {}
  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;
};
