// thecity_script.h -- the city's time script, free of GL: the frame step,
// the lens, the camera and the cloud's place, and where the street's groups
// stand at a time. The frame (part_thecity) draws what these place.
#pragma once
#include "scenes/camera.h"
#include "scenes/route.h"

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
