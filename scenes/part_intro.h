// part_intro.h -- The long morphing opening; hands over at its 171st second.
#pragma once
#include "scenes/scene.h"

class part_intro : public scene {
public:
  explicit part_intro(const sectionRow& r) : scene(r) {}
  void load(rendercontext* rc) override;

protected:
  bool advance(double* step) override;
  void render(double* step) override;
};
