// mesh_walker.h -- the walker: its skeleton table, the walk cycle posed on
// it and the limb mesh modelled around it (used by the motion recipes).
#pragma once
#include "content/objwriter.h"

const int jointCount = 19;
const int cycleFrames = 14;  // the figure loops motion frames 1 ... 14

struct walkJoint {
  const char* name;
  int parent;   // index into the table, -1 for the root
  dvec offset;  // from the parent, in motion units (centimetres)
  dvec end;     // the end site's offset when hasEnd
  bool hasEnd;
};

// One motion frame: the root's position and every joint's rotation in
// degrees about x, y and z (applied as Z, then X, then Y about the joint's
// own axes, as the motion file's channels compose).
struct walkPose {
  dvec rootPosition;
  dvec angles[jointCount];
};

// The pose at phase 0 <= phase < 1 of one stride (two steps), in place:
// the root never moves forward; the feet slide back under it.
walkPose walkAt(const walkJoint* table, double phase);

// The 19 limb objects, each in the frame of the joint that draws it.
meshData buildLimbMesh(const walkJoint* table);

// Rest position of joint j (root at the origin), from the offsets.
dvec restPosition(const walkJoint* table, int j);
