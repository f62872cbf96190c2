// part_thecity.h -- The city scene; hands over to the mantis at 76 s.
#pragma once
#include "scenes/scene.h"

class part_thecity : public scene {
public:
  explicit part_thecity(const sectionRow& r) : scene(r) {}
  void load(rendercontext* rc) override;

protected:
  bool advance(double* step) override;
  void render(double* step) override;
};
