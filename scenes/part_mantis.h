// part_mantis.h -- section 4 of the chain. The hand drawing of a mantis; hands over at 97.7 s without the flag.
#pragma once
#include "scenes/scene.h"

class part_mantis : public scene {
public:
  part_mantis() : scene(0.0) {}
  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;
};
