// part_thecity.h -- section 3 of the chain. The city: a cloud drawn to the
// obelisk that turns into a curled-up baby, among black silhouettes of a
// walking crowd, three landmarks, a row of trees and flocks of doves, in
// front of a dusk sky; hands over to the mantis at 76 s.
// Shared slots: makes the 1-D float texture anew; samples FirstTitleSlot as
// "Swirl_Texture".
#pragma once
#include <memory>

#include "geom/body.h"
#include "geom/objmesh.h"
#include "gfx/tgobject.h"
#include "scenes/scene.h"
#include "scenes/thecity_script.h"

// The street's meshes in the scene's mesh slots.
constexpr int LatticeMesh = 0, TowerMesh = 1, TempleMesh = 2, TreeMesh = 3;

class part_thecity : public scene {
public:
  std::unique_ptr<body> walker;  // null when its motion file is missing
  objmesh limbs;
  cityGroups groups;  // filled every frame; kept here so the frame allocates nothing

  explicit part_thecity(const sectionRow& r);

protected:
  void ownLoadStep(int step) override;
  void script(double step) override;
  void render(double* step) override;

private:
  float view[16] = {};  // the modelview after the look-at: the groups' world
  void loadWalker();
  void particlePass(double step);
  void streetState();
  void simulate(double step);
  void drawGroups();
  void drawCrowd();
  void drawLandmark(const landmarkPlace& p, const objmesh& mesh, int which);
  void drawTrees();
  void drawDoves();
};
