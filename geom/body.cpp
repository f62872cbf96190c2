// body.cpp -- posing the figure from its skeleton (no OpenGL here; the bones
// are drawn in body_draw.cpp).
#include "geom/body.h"

#include <algorithm>
#include <cmath>

namespace {

const limbEntry limbTable[] = {
    {"head", 0, -0.18f, 0, 0, 18},          {"neck", 0, -0.08f, 0, 0, 17},
    {"chest", 0, -0.23f, 0.049f, 1.09f, 16}, {"abdomen", 0, 0.035f, -0.03f, 1.04f, 6},
    {"rThigh", 0, 0, 0, 0, 4},               {"rCollar", -0.07f, -0.053f, 0, 0, 14},
    {"lCollar", 0.07f, -0.053f, 0, 0, 15},   {"lShldr", 0.119f, -0.06f, 0, 1.1f, 12},
    {"rShldr", -0.1f, -0.06f, 0, 1.1f, 13},  {"rForeArm", -0.1f, -0.06f, -0.02f, 1.1f, 10},
    {"lForeArm", 0.154f, -0.06f, -0.02f, 1.1f, 11}, {"lHand", 0.14f, -0.07f, 0, 1.1f, 9},
    {"rHand", -0.14f, -0.07f, 0, 1.1f, 8},   {"lThigh", 0, 0, 0.046f, 0, 5},
    {"rShin", -0.032f, 0.031f, -0.058f, 0, 3}, {"lShin", 0.032f, 0.021f, 0.033f, 0, 3},
    {"lFoot", 0.042f, 0.05f, 0.14f, 0, 1},   {"rFoot", -0.042f, 0.05f, 0.02f, 0, 0},
};

// Entry i of a joint's frames; a joint that lacks it (the last frame of a
// truncated file) shows its last entry.
const mat4& entry(const joint& j, size_t i) {
  static const mat4 identity;
  if (j.frames.empty()) return identity;
  return j.frames[std::min(i, j.frames.size() - 1)];
}

// Truncation toward zero read as unsigned; positions no int can hold count as 0.
uint32_t wholeFrames(double position) {
  if (!(std::fabs(position) < 2147483648.0)) return 0;
  return uint32_t(int32_t(position));
}

}  // namespace

const limbEntry* findLimb(const std::string& jointName) {
  for (const limbEntry& e : limbTable)
    if (jointName == e.name) return &e;
  return nullptr;
}

body::body(const std::string& path) : skeleton(std::make_unique<::skeleton>(path)) {
  matrixStack.push_back(mat4());
}

body::body(std::unique_ptr<::skeleton> loaded) : skeleton(std::move(loaded)) {
  matrixStack.push_back(mat4());
}

void body::advance() {
  framePosition += 1.0f;
  size_t n = skeleton && skeleton->root ? skeleton->root->frames.size() : 0;
  if (framePosition >= float(n)) framePosition = 1.0f;
}

// parent * rest offset * frame, blended between the frames a and b that the
// position falls between: with n root entries the motion loops over entries
// 1 .. n-1, a = (whole position mod (n-1)) + 1 and b likewise one further.
// The root's list is cut back to 15 entries, ten at a time, after it has
// been read (reads during the first draws still see the longer list).
mat4 body::jointMatrix(const joint& j, const mat4& parent) {
  joint* root = skeleton->root;
  size_t n = root->frames.size();
  mat4 a = parent * entry(j, 0);
  if (n >= 2) {
    uint32_t loop = uint32_t(n - 1);
    const mat4& fa = entry(j, wholeFrames(framePosition) % loop + 1);
    const mat4& fb = entry(j, wholeFrames(double(framePosition) + 1.0) % loop + 1);
    mat4 b = a;
    a.translate(fa.m[12], fa.m[13], fa.m[14]);
    a.applyBasis(fa);
    b.translate(fb.m[12], fb.m[13], fb.m[14]);
    b.applyBasis(fb);
    float t = float(std::fmod(double(framePosition), 1.0));
    a = a + (b - a) * t;
  }
  for (int k = 0; k < 10 && root->frames.size() > 15; ++k) root->frames.pop_back();
  return a;
}

// Depth-first from the root: each joint with children is posed on top of
// its parent's matrix, then each of its bones is handed to bone. End sites
// are never posed. Iterative, so that deep trees cannot exhaust the stack.
void body::pose(boneFn bone, void* user) {
  if (!skeleton || !skeleton->root) return;
  walk.clear();
  matrixStack.push_back(jointMatrix(*skeleton->root, matrixStack.back()));
  walk.push_back({skeleton->root, 0});
  while (!walk.empty()) {
    const joint* j = walk.back().j;
    if (walk.back().next == j->children.size()) {
      matrixStack.pop_back();
      walk.pop_back();
      continue;
    }
    const joint* c = j->children[walk.back().next++];
    if (bone) bone(*this, *j, matrixStack.back(), user);
    if (c->children.empty()) continue;
    matrixStack.push_back(jointMatrix(*c, matrixStack.back()));
    walk.push_back({c, 0});
  }
}
