// part_theend.h -- section 5 of the chain. The closing logo; ends the chain at 20 s.
#pragma once
#include "scenes/scene.h"

class part_theend : public scene {
public:
  part_theend() : scene(0.0) {}
  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;
};
