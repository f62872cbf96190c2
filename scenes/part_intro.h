// part_intro.h -- section 1 of the chain. The long morphing opening; hands over at its 171st second.
#pragma once
#include "scenes/scene.h"

class part_intro : public scene {
public:
  part_intro() : scene(0.0) {}
  void draw(double* step, rendercontext* rc, FrameState* state) override;
  void load(rendercontext* rc) override;
};
