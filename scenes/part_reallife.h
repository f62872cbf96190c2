// part_reallife.h -- section 2 of the chain. The bird scene; hands over at 69 s.
#pragma once
#include "scenes/scene.h"

class part_reallife : public scene {
public:
  part_reallife() : scene(0.0) {}
  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;
};
