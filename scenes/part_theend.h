// part_theend.h -- The closing logo; after 20 s nothing draws.
#pragma once
#include "scenes/scene.h"

class part_theend : public scene {
public:
  explicit part_theend(const sectionRow& r) : scene(r) {}
  void load(rendercontext* rc) override;

protected:
  bool advance(double* step) override;
  void render(double* step) override;
};
