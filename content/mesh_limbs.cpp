// mesh_limbs.cpp -- the walker's limb mesh: a figure modelled around the
// skeleton's rest pose, one object per limb, each stored in the frame its
// joint draws it in. The figure draws a limb as
//   joint matrix * scale 44.16 * mirror y * limb translation * limb scale,
// so a rest-pose point p of the limb of joint J is stored as
//   ((mirror y of (p - J) / 44.16) - translation) / scale.
#include "content/mesh_walker.h"

#include <algorithm>
#include <cstring>

namespace {

// The figure's limb table: joint, translation, scale (0: none), object.
struct limbPlacement {
  const char* joint;
  dvec shift;
  double scale;
  int object;
};
const limbPlacement placements[] = {
    {"head", {0, -0.18, 0}, 0, 18},          {"neck", {0, -0.08, 0}, 0, 17},
    {"chest", {0, -0.23, 0.049}, 1.09, 16},  {"abdomen", {0, 0.035, -0.03}, 1.04, 6},
    {"rThigh", {0, 0, 0}, 0, 4},             {"rCollar", {-0.07, -0.053, 0}, 0, 14},
    {"lCollar", {0.07, -0.053, 0}, 0, 15},   {"lShldr", {0.119, -0.06, 0}, 1.1, 12},
    {"rShldr", {-0.1, -0.06, 0}, 1.1, 13},   {"rForeArm", {-0.1, -0.06, -0.02}, 1.1, 10},
    {"lForeArm", {0.154, -0.06, -0.02}, 1.1, 11}, {"lHand", {0.14, -0.07, 0}, 1.1, 9},
    {"rHand", {-0.14, -0.07, 0}, 1.1, 8},    {"lThigh", {0, 0, 0.046}, 0, 5},
    {"rShin", {-0.032, 0.031, -0.058}, 0, 3}, {"lShin", {0.032, 0.021, 0.033}, 0, 3},
    {"lFoot", {0.042, 0.05, 0.14}, 0, 1},    {"rFoot", {-0.042, 0.05, 0.02}, 0, 0},
};
const double boneScale = 44.16;

const char* const objectNames[19] = {"rFoot", "lFoot", "spareShin", "shin", "rThigh", "lThigh",
                                     "abdomen", "sparePelvis", "rHand", "lHand", "rForeArm",
                                     "lForeArm", "lShldr", "rShldr", "rCollar", "lCollar",
                                     "chest", "neck", "head"};

int jointIndex(const walkJoint* t, const char* name) {
  for (int j = 0; j < jointCount; ++j)
    if (std::strcmp(t[j].name, name) == 0) return j;
  return 0;
}

dvec at(const walkJoint* t, const char* name) { return restPosition(t, jointIndex(t, name)); }

dvec childOf(const walkJoint* t, const char* name) {
  int j = jointIndex(t, name);
  for (int c = 0; c < jointCount; ++c)
    if (t[c].parent == j) return restPosition(t, c);
  return restPosition(t, j) + t[j].end;
}

void blob(meshData& m, dvec c, dvec r) { addEllipsoid(m, c, r, rot3(), 4); }

// Feet, shins, thighs, abdomen and the spares (objects 0 ... 7), in motion
// units around the rest pose.
void lowerShape(const walkJoint* t, int object, meshData& m) {
  switch (object) {
    case 0: case 1: {
      dvec a = at(t, object == 0 ? "rFoot" : "lFoot");
      addLimb(m, a + dvec(0, -3, -3), a + dvec(0, -5, 12), 4.4, 3.2, 10, 6);
      return;
    }
    case 2: case 3: {
      dvec k = at(t, "rShin"), a = at(t, "rFoot");
      addLimb(m, k, a, 5.4, 3.4, 10, 6);
      blob(m, k + dvec(0, -13, -1.5), dvec(5.3, 10, 5.2));
      return;
    }
    case 4: case 5: {
      const char* name = object == 4 ? "rThigh" : "lThigh";
      addLimb(m, at(t, name), childOf(t, name), 8.2, 5.4, 10, 6);
      blob(m, at(t, name) + dvec(0, -2, -1), dvec(9.2, 9.5, 9.2));
      return;
    }
    case 6:
      blob(m, at(t, "abdomen") + dvec(0, 6, 0), dvec(12.5, 11, 8.5));
      blob(m, at(t, "hip") + dvec(0, -2, -1), dvec(15, 11, 10));
      return;
    default: blob(m, at(t, "hip"), dvec(6, 6, 6)); return;
  }
}

// Hands, arms, collars, chest, neck and head (objects 8 ... 18).
void upperShape(const walkJoint* t, int object, meshData& m) {
  std::string s = (object == 8 || object == 10 || object == 13 || object == 14) ? "r" : "l";
  if (object == 8 || object == 9)
    blob(m, at(t, (s + "Hand").c_str()) + dvec(0, -7.5, 0.5), dvec(2.2, 8, 4.2));
  else if (object == 10 || object == 11)
    addLimb(m, at(t, (s + "ForeArm").c_str()), childOf(t, (s + "ForeArm").c_str()), 4.1, 2.7, 10, 6);
  else if (object == 12 || object == 13) {
    addLimb(m, at(t, (s + "Shldr").c_str()), childOf(t, (s + "Shldr").c_str()), 4.8, 3.9, 10, 6);
    blob(m, at(t, (s + "Shldr").c_str()) + dvec(0, -2, 0), dvec(5.4, 6.5, 5.4));
  } else if (object == 14 || object == 15)
    addLimb(m, at(t, (s + "Collar").c_str()), childOf(t, (s + "Collar").c_str()), 5.2, 5.0, 10, 6);
  else if (object == 16) {
    dvec c = at(t, "chest");
    blob(m, c + dvec(0, 9, 0), dvec(13, 13.5, 9));
    for (double x : {6.0, -6.0}) addEllipsoid(m, c + dvec(x, 6.5, 6.2), dvec(5.4, 5.4, 5.4), rot3(), 3);
  } else if (object == 17)
    addLimb(m, at(t, "neck"), at(t, "head"), 4.6, 4.3, 10, 5);
  else {
    dvec h = at(t, "head");
    blob(m, h + dvec(0, 9, 1.5), dvec(7.5, 10, 9));
    blob(m, h + dvec(0, 11.5, -1), dvec(8.3, 9.6, 9.6));
    addEllipsoid(m, h + dvec(0, 12, -10.5), dvec(4.6, 4.6, 4.6), rot3(), 3);
  }
}

// The joint an object hangs from and how the figure places it there.
void placementFor(const walkJoint* t, int object, dvec& origin, dvec& shift, double& scale) {
  origin = dvec();
  shift = dvec();
  scale = 1;
  if (object == 2 || object == 7) {  // spares: never drawn, kept at their joint
    origin = at(t, object == 2 ? "lShin" : "hip");
    return;
  }
  if (object == 3) {  // one shin serves both legs: split the two translations
    origin = at(t, "rShin");
    shift = (placements[14].shift + placements[15].shift) * 0.5;
    return;
  }
  for (const limbPlacement& p : placements)
    if (p.object == object) {
      origin = at(t, p.joint);
      shift = p.shift;
      scale = p.scale > 0 ? p.scale : 1;
      return;
    }
}

}  // namespace

meshData buildLimbMesh(const walkJoint* t) {
  meshData all;
  for (int object = 0; object < 19; ++object) {
    meshData part;
    if (object < 8)
      lowerShape(t, object, part);
    else
      upperShape(t, object, part);
    dvec origin, shift;
    double scale;
    placementFor(t, object, origin, shift, scale);
    for (dvec& p : part.verts) {
      dvec q = (p - origin) * (1.0 / boneScale);
      p = (dvec(q.x, -q.y, q.z) - shift) * (1.0 / scale);
    }
    // The mirror turns the winding inside out; turn it back so that the
    // normals a loader generates point out of the limb once drawn.
    for (auto& f : part.faces) std::reverse(f.begin(), f.end());
    part.weld();
    all.beginObject(objectNames[object]);
    all.append(part);
  }
  return all;
}
