// part_mantis.h -- The line drawing; hands over to the end at 97.7 s.
#pragma once
#include "scenes/scene.h"

class part_mantis : public scene {
public:
  explicit part_mantis(const sectionRow& r) : scene(r) {}
  void load(rendercontext* rc) override;

protected:
  bool advance(double* step) override;
  void render(double* step) override;
};
