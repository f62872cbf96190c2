// mesh_walker.cpp -- the walk cycle: feet follow stance and swing paths
// under a fixed root, the legs reach them by two-bone inverse kinematics,
// and the pelvis, trunk, head and arms counter-swing with the stride.
#include "content/mesh_walker.h"

#include <algorithm>

namespace {

enum { hip, abdomen, chest, neck, head, lCollar, lShldr, lForeArm, lHand, rCollar, rShldr, rForeArm,
       rHand, lThigh, lShin, lFoot, rThigh, rShin, rFoot };

const double groundLift = 27;   // the crowd stands the motion origin 0.54 scene units (27 units
                                // at its scale 0.02) below the landmarks' ground line
const double stance = 0.6;      // part of the stride a foot spends on the ground
const double travel = 66;       // how far a planted foot slides back under the hip
const double ankleHeight = 7;   // ankle above the sole
const double toeReach = 13;     // ankle to toe, along the foot
const double hipHeight = 97.5;  // mean hip height while walking (102 standing)
const double toRad = M_PI / 180.0, toDeg = 180.0 / M_PI;

struct footTarget {
  dvec ankle;    // x is set by the caller
  double pitch;  // degrees, positive: toe down
};

// A planted foot: flat, with the heel landing toe-up and the heel rising
// about the toe before it leaves the ground.
footTarget stanceFoot(double s) {
  double z = travel * 0.5 - travel * s;
  double pitch = s < 0.15 ? -12 * (1 - s / 0.15) : s > 0.7 ? 30 * std::pow((s - 0.7) / 0.3, 1.5) : 0;
  if (pitch <= 0) return {dvec(0, ankleHeight, z), pitch};
  double p = pitch * toRad, toe = z + toeReach;
  return {dvec(0, ankleHeight * std::cos(p) + toeReach * std::sin(p),
               toe + ankleHeight * std::sin(p) - toeReach * std::cos(p)), pitch};
}

// Phase 0 is this foot's heel strike.
footTarget footAt(double u) {
  if (u < stance) return stanceFoot(u / stance);
  double s = (u - stance) / (1 - stance), e = (1 - std::cos(M_PI * s)) * 0.5;
  footTarget off = stanceFoot(1.0);
  dvec ankle(0, off.ankle.y + (ankleHeight - off.ankle.y) * e + 13 * std::sin(M_PI * s) * (1 - 0.3 * s),
             off.ankle.z + (travel * 0.5 - off.ankle.z) * e);
  return {ankle, off.pitch + (-12 - off.pitch) * e};
}

rot3 jointTurn(const dvec& a) { return rot3::z(a.z) * rot3::x(a.x) * rot3::y(a.y); }

// Thigh, shin and foot angles that put the ankle on the target: the thigh
// turns about z into the plane of hip and ankle, then the knee bends by the
// law of cosines and the thigh leans forward to close the triangle.
void solveLeg(const walkJoint* t, int thigh, dvec hipPos, const dvec& hipAngles, const footTarget& f,
              walkPose& p) {
  double upper = -t[thigh + 1].offset.y, lower = -t[thigh + 2].offset.y;
  dvec d = jointTurn(hipAngles).transposed() * (f.ankle - hipPos) - t[thigh].offset;
  double roll = std::atan2(d.x, -d.y);
  double down = d.x * std::sin(roll) - d.y * std::cos(roll), reach = std::hypot(down, d.z);
  reach = std::clamp(reach, 20.0, upper + lower - 0.3);
  double inner = std::acos(std::clamp((upper * upper + lower * lower - reach * reach) / (2 * upper * lower), -1.0, 1.0));
  double knee = M_PI - inner;
  double lean = std::atan2(lower * std::sin(knee), upper + lower * std::cos(knee));
  double thighPitch = std::atan2(-d.z, down) - lean;
  p.angles[thigh] = dvec(thighPitch * toDeg, 0, roll * toDeg);
  p.angles[thigh + 1] = dvec(knee * toDeg, 0, 0);
  p.angles[thigh + 2] = dvec(f.pitch - (thighPitch + knee) * toDeg, 0, 0);
}

// Trunk and arms: the pelvis and shoulders turn against each other, the
// head stays on the line of travel, each arm swings against its leg.
void upperBody(double phase, walkPose& p) {
  double c = std::cos(2 * M_PI * phase), bob = std::cos(4 * M_PI * (phase - 0.3));
  p.angles[abdomen] = dvec(4, 5 * c, -1.5 * std::cos(2 * M_PI * (phase - 0.3)));
  p.angles[chest] = dvec(-2, 7 * c, 0);
  p.angles[neck] = dvec(-1, -4 * c, 0);
  p.angles[head] = dvec(1 + 1.5 * bob, -3 * c, 0);
  for (int side = 0; side < 2; ++side) {
    double swing = side == 0 ? c : -c, out = side == 0 ? 1 : -1;
    int collar = side == 0 ? lCollar : rCollar;
    p.angles[collar] = dvec(0, 0, out * (1.5 + 1.5 * swing));
    p.angles[collar + 1] = dvec(18 * swing, 0, out * 7);
    p.angles[collar + 2] = dvec(-(14 + 14 * std::max(0.0, -swing)), out * -6, 0);
    p.angles[collar + 3] = dvec(-6, 0, out * -4);
  }
}

}  // namespace

dvec restPosition(const walkJoint* table, int j) {
  dvec p;
  for (; j >= 0; j = table[j].parent) p = p + table[j].offset;
  return p;
}

walkPose walkAt(const walkJoint* table, double phase) {
  walkPose p;
  dvec hipPos(0, hipHeight + 2 * std::cos(4 * M_PI * (phase - 0.3)), 0);
  dvec hipAngles(0, -5 * std::cos(2 * M_PI * phase), 3 * std::cos(2 * M_PI * (phase - 0.3)));
  p.angles[hip] = hipAngles;
  upperBody(phase, p);
  footTarget left = footAt(phase), right = footAt(std::fmod(phase + 0.5, 1.0));
  left.ankle.x = 7;
  right.ankle.x = -7;
  solveLeg(table, lThigh, hipPos, hipAngles, left, p);
  solveLeg(table, rThigh, hipPos, hipAngles, right, p);
  p.rootPosition = hipPos + dvec(0, groundLift, 0);
  return p;
}
