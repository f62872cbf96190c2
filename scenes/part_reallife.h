// part_reallife.h -- The bird scene; hands over to the city at 69 s.
#pragma once
#include "scenes/scene.h"

class part_reallife : public scene {
public:
  explicit part_reallife(const sectionRow& r) : scene(r) {}
  void load(rendercontext* rc) override;

protected:
  bool advance(double* step) override;
  void render(double* step) override;
};
