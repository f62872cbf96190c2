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

// ---- time script (GL free) --------------------------------------------------------------

// The frame step while the city plays, before its clock moves (at t).
double cityStep(double t, double step);

// The lens: 55 degrees, a fast zoom to 25 at 46.5 s, back to 55 at 59 ... 61 s,
// a slow zoom to 27 from 67.4 s.
double cityFovy(double t);
// The shake amplitude: swells from 30 s, grows threefold with the last zoom.
float cityShakeAmplitude(double t);
// The camera before the shake: 9.6 units out on +x, sinking from 15 s,
// looking at a bobbing, swaying point with a slight roll.
camera cityPose(double t);
// The pose with the shake of the track; `record` is the shake record's value,
// (p.x amp, p.y amp, 0) in the track's own units (the occlusion pass's "RelX"
// is its change).
camera cityCamera(double t, const route& shakeTrack, vec3& record);

// Where the cloud stands: at the origin until 42 s, then it climbs after the
// look-at point so that the narrow lens keeps it in the frame. The compute
// shader follows the same curve (keep the two in step).
vec3 cloudCentre(double t);
// 0 while the cloud is the obelisk, 1 while it is the baby.
double babyMix(double t);

// One walker of the crowd.
struct walkerPlace {
  float f = 0, fade = 0;  // progress along the street (0 ... 1) and size
  vec3 at;                // feet, in the camera's world
  float s = 1;            // gait rate, 1 ... 2
  float frame = 1;        // motion frame
  float tilt = 0;         // lean about x, degrees
};
// A landmark, a tree: drawn when shown.
struct landmarkPlace {
  bool shown = false;
  float f = 0, fade = 0;
  vec3 at;
  float s = 1, sway = 0;  // sway: degrees about x
  float scale = 0, turn = 0;  // trees: size and turn about (0, 1, 0.1)
};
// One dove quad: a billboard at `at`, angle degrees about the view axis,
// x scale negative when mirrored.
struct dovePlace {
  vec3 at;
  float angle = 16, sx = 0.08f, sy = 0.08f;
  int image = 300;  // texture slot above the base
};

constexpr int CrowdSize = 18, TreeCount = 8, Flock1Size = 20, FlockSize = 9;
constexpr int MaxDoves = Flock1Size + 2 * FlockSize * 2;

// Everything the groups draw at time t, each group from its own seed.
struct cityGroups {
  walkerPlace crowd[CrowdSize];
  landmarkPlace lattice, temple, tower;
  int treeCount = 0;
  landmarkPlace trees[TreeCount];
  int flock1 = 0, flock2 = 0, flock3 = 0;  // doves of each flock shown
  int doveCount = 0;                       // quads: flock 1 once, flocks 2 and 3 twice
  dovePlace doves[MaxDoves];
};
void placeGroups(double t, cityGroups& g);

// A lane across the street: 12 frand - 6 drawn until it is outside +-1.3.
float laneZ();

// The dove frames: 18 from this texture slot above the base; the last is
// never shown.
constexpr int DoveBase = 300, DoveImages = 17;
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
